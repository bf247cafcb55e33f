// The layer's event translation: window-system events pushed into SDL's queue come out of
// PeekMessageA as the window messages Win32 would send, in Win32's order.
#include "support/gl_window_test.h"

#include <filesystem>
#include <ostream>

namespace {

// Key positions: USB HID usages, as keyboards report them whatever their layout.
const int kKeyA = 4, kKeyM = 16, kKeyP = 19, kKeyQ = 20, kKeyS = 22;
const int kKeyDigit1 = 30, kKeyEscape = 41;
const int kKeyLeftBracket = 47, kKeySemicolon = 51;
const int kKeyF1 = 58, kKeyF10 = 67;
const int kKeyPadMinus = 86, kKeyPad1 = 89, kKeyLeftAlt = 226;

// Characters a Russian layout types on the M, S, P and [ keys.
const char32_t kCyrillicSoftSign = U'\u044C', kCyrillicYeru = U'\u044B';
const char32_t kCyrillicZe = U'\u0437', kCyrillicHa = U'\u0445';

// The key-message flags a test compares.
const WORD kKeyFlags = KF_ALTDOWN | KF_REPEAT | KF_UP;

// A message as a test compares it; key messages keep only their flags of lParam's high word.
struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Seen &other) const
    {
        return message == other.message && wParam == other.wParam && lParam == other.lParam;
    }
};

// Prints a message for a failed comparison.
void PrintTo(const Seen &seen, std::ostream *out)
{
    *out << "{" << seen.message << ", " << seen.wParam << ", 0x" << std::hex << seen.lParam
         << std::dec << "}";
}

// Whether the message is one of the four key messages.
bool isKeyMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
           message == WM_SYSKEYUP;
}

// A window of the program's class with a renderer, and every message it was sent so far taken.
class LayerEvents : public RendererWindowTest {
protected:
    // Removes every message for the window, pumping pushed events into the queue.
    std::vector<MSG> taken() { return takeMessages(appWindow.window); }
    // The messages taken, as compared.
    std::vector<Seen> seen()
    {
        std::vector<Seen> result;
        for (const MSG &m : taken())
            result.push_back({m.message, m.wParam, isKeyMessage(m.message) ? HIWORD(m.lParam) & kKeyFlags
                                                                          : m.lParam});
        return result;
    }
    // The codes of the key-down messages that one press of each key gives.
    std::vector<WPARAM> codesFor(const std::vector<std::pair<int, char32_t>> &keys)
    {
        for (const auto &key : keys)
            seam::pushKey(appWindow.window, key.first, key.second, seam::KeyAction::Press);
        std::vector<WPARAM> codes;
        for (const MSG &m : taken())
            codes.push_back(m.message == WM_KEYDOWN ? m.wParam : 0);
        return codes;
    }
    // Dispatches every message, as the message loop would.
    void dispatchAll()
    {
        for (const MSG &m : taken())
            DispatchMessageA(&m);
    }
    // The client size as the size messages carry it.
    LPARAM clientSize()
    {
        RECT client;
        GetClientRect(appWindow.window, &client);
        return MAKELPARAM(client.right, client.bottom);
    }
};

TEST_F(LayerEvents, WindowEventsGiveSizeMessagesWithTheClientSizeAndCloseWmClose)
{
    seam::pushWindowEvent(appWindow.window, seam::WindowEvent::SizeChanged);
    seam::pushWindowEvent(appWindow.window, seam::WindowEvent::Restored);
    seam::pushWindowEvent(appWindow.window, seam::WindowEvent::Maximized);
    seam::pushWindowEvent(appWindow.window, seam::WindowEvent::Minimized);
    seam::pushWindowEvent(appWindow.window, seam::WindowEvent::Close);
    EXPECT_EQ(clientSize(), MAKELPARAM(64, 48));
    EXPECT_EQ(seen(), (std::vector<Seen>{{WM_SIZE, SIZE_RESTORED, clientSize()},
                                         {WM_SIZE, SIZE_RESTORED, clientSize()},
                                         {WM_SIZE, SIZE_MAXIMIZED, clientSize()},
                                         {WM_SIZE, SIZE_MINIMIZED, 0},
                                         {WM_CLOSE, 0, 0}}));
}

TEST_F(LayerEvents, HoldingPGivesKeyDownsWithTheRepeatBitAndOneSnapshotEachFromTheNextFrame)
{
    using seam::KeyAction;
    ScratchFolder dir;
    for (KeyAction action :
         {KeyAction::Press, KeyAction::Repeat, KeyAction::Repeat, KeyAction::Release})
        seam::pushKey(appWindow.window, kKeyP, U'p', action);
    const std::vector<MSG> messages = taken();
    std::vector<Seen> given;
    for (const MSG &m : messages) {
        given.push_back({m.message, m.wParam, HIWORD(m.lParam) & kKeyFlags});
        DispatchMessageA(&m);
    }
    EXPECT_EQ(given, (std::vector<Seen>{{WM_KEYDOWN, 'P', 0},
                                        {WM_KEYDOWN, 'P', KF_REPEAT},
                                        {WM_KEYDOWN, 'P', KF_REPEAT},
                                        {WM_KEYUP, 'P', KF_REPEAT | KF_UP}}));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));  // nothing drawn at this size yet
    presentFrame(appWindow);
    EXPECT_TRUE(std::filesystem::exists("snap_064_x_048_1.png"));
    EXPECT_TRUE(std::filesystem::exists("snap_064_x_048_3.png"));
    presentFrame(appWindow);  // each press answered once
    EXPECT_FALSE(std::filesystem::exists("snap_064_x_048_4.png"));
}

// One row of the key table: position, character typed, virtual-key code, Windows' scan code.
struct KeyRow {
    int position;
    char32_t character;
    WPARAM code;
    WORD scan;
};

// Every key the layer gives messages for, as Windows numbers it (set 1 scan codes).
std::vector<KeyRow> keyTable()
{
    const WORD kLetterScans[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                   0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                   0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
    const WORD kFunctionScans[12] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40,
                                     0x41, 0x42, 0x43, 0x44, 0x57, 0x58};
    // Keypad 1 ... 9, then 0.
    const WORD kKeypadScans[10] = {0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49, 0x52};
    const WORD ext = KF_EXTENDED;
    std::vector<KeyRow> rows;
    for (int i = 0; i < 26; ++i)
        rows.push_back({kKeyA + i, char32_t('a' + i), WPARAM('A' + i), kLetterScans[i]});
    for (int i = 0; i < 10; ++i)  // 1 ... 9, then 0
        rows.push_back({kKeyDigit1 + i, char32_t('0' + (i + 1) % 10), WPARAM('0' + (i + 1) % 10),
                        WORD(0x02 + i)});
    for (int i = 0; i < 12; ++i)
        rows.push_back({kKeyF1 + i, 0, WPARAM(VK_F1 + i), kFunctionScans[i]});
    for (int i = 0; i < 10; ++i)  // the keypad's own codes, not the digit row's
        rows.push_back({kKeyPad1 + i, 0, WPARAM(VK_NUMPAD0 + (i + 1) % 10), kKeypadScans[i]});
    const std::vector<KeyRow> others = {
        {99, 0, VK_DECIMAL, 0x53},        {kKeyPadMinus, 0, VK_SUBTRACT, 0x4A},
        {87, 0, VK_ADD, 0x4E},            {85, 0, VK_MULTIPLY, 0x37},
        {84, 0, VK_DIVIDE, 0x35 | ext},   {kKeyEscape, 0, VK_ESCAPE, 0x01},
        {42, 0, VK_BACK, 0x0E},           {43, 0, VK_TAB, 0x0F},
        {40, 0, VK_RETURN, 0x1C},         {44, 0, VK_SPACE, 0x39},
        {225, 0, VK_SHIFT, 0x2A},         {229, 0, VK_SHIFT, 0x36},
        {224, 0, VK_CONTROL, 0x1D},       {228, 0, VK_CONTROL, 0x1D | ext},
        {kKeyLeftAlt, 0, VK_MENU, 0x38},  {230, 0, VK_MENU, 0x38 | ext},
        {82, 0, VK_UP, 0x48 | ext},       {80, 0, VK_LEFT, 0x4B | ext},
        {79, 0, VK_RIGHT, 0x4D | ext},    {81, 0, VK_DOWN, 0x50 | ext}};
    rows.insert(rows.end(), others.begin(), others.end());
    return rows;
}

TEST_F(LayerEvents, EveryKeyGivesItsVirtualKeyCodeAndWindowsScanCodeAndOthersNothing)
{
    const int kKeyMinus = 45;  // a key the program has no use for
    std::vector<std::pair<WPARAM, WORD>> expected, given;
    for (const KeyRow &row : keyTable()) {
        seam::pushKey(appWindow.window, row.position, row.character, seam::KeyAction::Press);
        expected.push_back({row.code, row.scan});
    }
    seam::pushKey(appWindow.window, kKeyMinus, U'-', seam::KeyAction::Press);
    for (const MSG &m : taken())
        given.push_back({m.wParam, HIWORD(m.lParam) & (0xFF | KF_EXTENDED)});
    EXPECT_EQ(given, expected);
}

TEST_F(LayerEvents, LettersFollowLatinLayoutsAndThePositionUnderOtherScripts)
{
    // Russian: the M, S and P keys type Cyrillic; the [ key's letter has no Latin position.
    EXPECT_EQ(codesFor({{kKeyM, kCyrillicSoftSign}, {kKeyS, kCyrillicYeru}, {kKeyP, kCyrillicZe},
                        {kKeyLeftBracket, kCyrillicHa}}),
              (std::vector<WPARAM>{77, 83, 80}));
    // AZERTY: the Q key types a, the ; key types m, and the M key's comma is no M. Lower-case p
    // is 'P', not 112 (VK_F1).
    EXPECT_EQ(codesFor({{kKeyQ, U'a'}, {kKeySemicolon, U'm'}, {kKeyM, U','}, {kKeyA, U'q'},
                        {kKeyP, U'p'}}),
              (std::vector<WPARAM>{'A', 'M', 'Q', 'P'}));
}

TEST_F(LayerEvents, KeysWithAltAndF10AreSystemKeysThatCommandNothingAndCtrlAltIsAltGr)
{
    using seam::KeyAction;
    seam::pushKey(appWindow.window, kKeyLeftAlt, 0, KeyAction::Press, seam::kAlt);
    seam::pushKey(appWindow.window, kKeyM, U'm', KeyAction::Press, seam::kAlt);
    seam::pushKey(appWindow.window, kKeyM, U'm', KeyAction::Release, seam::kAlt);
    seam::pushKey(appWindow.window, kKeyLeftAlt, 0, KeyAction::Release);
    seam::pushKey(appWindow.window, kKeyF10, 0, KeyAction::Press);
    seam::pushKey(appWindow.window, kKeyM, U'm', KeyAction::Press, seam::kCtrl | seam::kAlt);
    const LPARAM up = KF_REPEAT | KF_UP;
    const std::vector<Seen> expected = {{WM_SYSKEYDOWN, VK_MENU, KF_ALTDOWN},
                                        {WM_SYSKEYDOWN, 'M', KF_ALTDOWN},
                                        {WM_SYSKEYUP, 'M', KF_ALTDOWN | up},
                                        {WM_SYSKEYUP, VK_MENU, KF_ALTDOWN | up},
                                        {WM_SYSKEYDOWN, VK_F10, 0},
                                        {WM_KEYDOWN, 'M', 0}};  // AltGr types ordinary keys
    EXPECT_EQ(seen(), expected);

    seam::pushKey(appWindow.window, kKeyM, U'm', KeyAction::Press, seam::kAlt);
    seam::pushKey(appWindow.window, kKeyS, U's', KeyAction::Press, seam::kAlt);
    dispatchAll();
    EXPECT_EQ(appWindow.renderer->mirrorsOff, 0);
    EXPECT_EQ(appWindow.renderer->feedbackOff, 0);
}

// The switch F1 posts overtakes a key already queued, as Win32's posted messages do.
TEST_F(LayerEvents, AKeyTypedRightAfterF1DoesNotActOnTheEndingWindow)
{
    seam::pushKey(appWindow.window, kKeyF1, 0, seam::KeyAction::Press);
    seam::pushKey(appWindow.window, kKeyM, U'm', seam::KeyAction::Press);
    runMessageLoop(appWindow);  // ends on the quit the switch posts
    EXPECT_EQ(appWindow.renderer->mirrorsOff, 0);
}

}  // namespace
