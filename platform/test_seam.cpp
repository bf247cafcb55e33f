// State of the test seam; idle unless a test uses it.
#include "platform/test_seam.h"

#include <algorithm>

namespace seam {
namespace {

std::vector<std::string> callLog;
std::vector<std::string> failing;
int scriptedAnswer = -1;
bool counterDriven = false;
int64_t drivenFrequency = 1;
int64_t drivenValue = 0;
std::function<void(HDC)> swapHook;

}  // namespace

const std::vector<std::string> &calls() { return callLog; }

void clearCalls() { callLog.clear(); }

void failCall(const std::string &name) { failing.push_back(name); }

void setMessageBoxAnswer(int answer) { scriptedAnswer = answer; }

void setCounter(int64_t frequency, int64_t value)
{
    counterDriven = true;
    drivenFrequency = frequency;
    drivenValue = value;
}

void setSwapHook(std::function<void(HDC)> hook) { swapHook = std::move(hook); }

bool enter(const char *name, const std::string &detail)
{
    callLog.push_back(detail.empty() ? std::string(name) : std::string(name) + " " + detail);
    return std::find(failing.begin(), failing.end(), name) != failing.end();
}

int messageBoxAnswer() { return scriptedAnswer; }

bool counter(int64_t *frequency, int64_t *value)
{
    *frequency = drivenFrequency;
    *value = drivenValue;
    return counterDriven;
}

void afterSwap(HDC dc)
{
    if (swapHook)
        swapHook(dc);
}

}  // namespace seam
