// State of the test seam; idle unless a test uses it.
#include "platform/sdl/test_seam.h"

#include <algorithm>

namespace seam {
namespace {

std::vector<std::string> callLog;
std::vector<std::string> failing;
int scriptedAnswer = -1;
bool counterDriven = false;
int64_t drivenFrequency = 1;
int64_t drivenValue = 0;
std::vector<std::pair<std::string, std::function<void()>>> hooks;
HWND newestWindow = nullptr;

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

void onCall(const std::string &name, std::function<void()> action)
{
    hooks.emplace_back(name, std::move(action));
}

HWND lastWindow() { return newestWindow; }

void setLastWindow(HWND window) { newestWindow = window; }

void reset()
{
    callLog.clear();
    failing.clear();
    hooks.clear();
    scriptedAnswer = -1;
    counterDriven = false;
}

bool enter(const char *name, const std::string &detail)
{
    callLog.push_back(detail.empty() ? std::string(name) : std::string(name) + " " + detail);
    for (size_t i = 0; i < hooks.size(); ++i)  // by index: an action may add hooks
        if (hooks[i].first == name) {
            auto action = hooks[i].second;
            action();
        }
    return std::find(failing.begin(), failing.end(), name) != failing.end();
}

int messageBoxAnswer() { return scriptedAnswer; }

bool counter(int64_t *frequency, int64_t *value)
{
    *frequency = drivenFrequency;
    *value = drivenValue;
    return counterDriven;
}


}  // namespace seam
