#include <gtest/gtest.h>

#include <memory>

#include "driver.h"
#include "scratch_key.h"

using namespace e2e;

namespace {
const UINT kShowLauncherMessage = 2291;

// The shell's "could not open" box, owned by Brisq's thread.
HWND ShellErrorBox(const Brisq& brisq) { return DialogWithCaption(brisq.ProcessId(), "Error"); }

// A window of the driver's own, to take the activation away from Brisq.
class OtherApplication {
public:
    OtherApplication() {
        window_ = CreateWindowExA(0, "STATIC", "other application", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                                  100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~OtherApplication() { DestroyWindow(window_); }
    void Activate() const {
        SetForegroundWindow(window_);
        Pump();
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }

private:
    HWND window_;
};
}  // namespace

TEST(Launcher, ShownAtStartCentredWithFocusInTheCommandBox) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    EXPECT_TRUE(WaitUntil([&] { return brisq.FocusWindow() == brisq.CommandEdit(); }));
    EXPECT_TRUE(WaitUntil([&] { return brisq.IsForeground(); }));

    // The skin places it in the middle of the screen; later shows centre it in the work area.
    RECT work{}, window{};
    GetWindowRect(brisq.Launcher(), &window);
    int width = window.right - window.left, height = window.bottom - window.top;
    EXPECT_EQ(window.left, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2);
    EXPECT_EQ(window.top, GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2);
    brisq.Toggle();
    ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(brisq.Launcher(), &window);
    EXPECT_EQ(window.left, (work.left + work.right) / 2 - width / 2);
    EXPECT_EQ(window.top, (work.top + work.bottom) / 2 - height / 2);
    // No taskbar button: a tool window.
    EXPECT_TRUE(GetWindowLongA(brisq.Launcher(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    SaveScreenshot("launcher-shown", brisq.Launcher());
}

TEST(Launcher, SecondCopyTogglesTheFirstAndExitsZero) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(WaitUntil([&] { return brisq.IsForeground(); }));

    EXPECT_EQ(brisq.StartSecondCopy(), 0u);  // foreground -> hidden
    EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
    EXPECT_EQ(brisq.StartSecondCopy(), 0u);  // hidden -> shown, in front, focus in the field
    EXPECT_TRUE(WaitUntil([&] { return brisq.IsShown() && brisq.FocusWindow() == brisq.CommandEdit(); }));
    EXPECT_TRUE(brisq.IsForeground());
    EXPECT_FALSE(brisq.HasExited());
    // Only the first copy's window answers the handshake.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(brisq.Launcher(), kShowLauncherMessage, 0, 0, SMTO_BLOCK, testkit::kReplyTimeoutMs, &answer));
    EXPECT_EQ(answer, kShowLauncherMessage);
}

TEST(Launcher, LineReachesTheProgramWithItsParameters) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    brisq.RunLine("recorder.exe alpha  beta");
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); }));
    std::string recorded = brisq.RecordedCommandLine();
    // The shell quotes the program it found and appends the parameters unchanged.
    EXPECT_NE(recorded.find("recorder.exe"), std::string::npos) << recorded;
    EXPECT_EQ(recorded.substr(recorded.size() - 12), " alpha  beta") << recorded;
    EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
    EXPECT_EQ(brisq.DropDownEntries(), std::vector<std::string>{"recorder.exe alpha  beta"});
}

// Brisq inherits the variables set here. This shell expands them in the program
// part by itself, but never in the parameters.
TEST(Launcher, VariablesInALineAreExpandedAndUnknownOnesKept) {
    Brisq brisq;
    SetEnvironmentVariableA("BRISQ_E2E_FOLDER", brisq.Folder().Path().c_str());
    SetEnvironmentVariableA("BRISQ_E2E_WORDS", "two words");
    SetEnvironmentVariableA("BRISQ_E2E_UNSET", nullptr);
    bool started = brisq.Start();
    SetEnvironmentVariableA("BRISQ_E2E_FOLDER", nullptr);
    SetEnvironmentVariableA("BRISQ_E2E_WORDS", nullptr);
    ASSERT_TRUE(started);
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    brisq.RunLine("%BRISQ_E2E_FOLDER%recorder.exe %BRISQ_E2E_WORDS% %BRISQ_E2E_UNSET%");
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    const std::string program = brisq.Folder().File("recorder.exe");
    EXPECT_EQ(brisq.RecordedCommandLine(), "\"" + program + "\" two words %BRISQ_E2E_UNSET%");
    EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
}

TEST(Launcher, FailingLineStaysInTheFieldAndTouchesNoList) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    std::vector<std::string> before = brisq.DropDownEntries();
    brisq.RunLine("no-such-program-here");
    HWND error = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (error = ShellErrorBox(brisq)) != nullptr; })) << brisq.Describe();
    PostMessageA(error, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(error); }));
    EXPECT_TRUE(brisq.IsShown());
    EXPECT_EQ(brisq.FieldText(), "no-such-program-here");
    EXPECT_EQ(brisq.DropDownEntries(), before);
}

TEST(Launcher, EnterOnAnEmptyFieldDoesNothing) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    std::vector<std::string> before = brisq.DropDownEntries();
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return GetAsyncKeyState(VK_RETURN) == 0; }));
    // Keys are handled in the order they were pressed: once a key typed after
    // Enter is in the field, Enter has been handled.
    TypeText("x");
    ASSERT_TRUE(WaitUntil([&] { return brisq.FieldText().rfind("x", 0) == 0; })) << brisq.Describe();
    EXPECT_TRUE(brisq.IsShown());
    EXPECT_EQ(brisq.DropDownEntries(), before);
    EXPECT_EQ(ShellErrorBox(brisq), nullptr);
}

TEST(Launcher, EscapeCloseAndDeactivationHide) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());

    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));

    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    PostMessageA(brisq.Launcher(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));

    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    OtherApplication other;
    other.Activate();
    EXPECT_TRUE(WaitUntil([&] {
        OtherApplication::Pump();
        return !brisq.IsShown();
    }));
    EXPECT_FALSE(brisq.HasExited());
}

TEST(Launcher, DropDownKeepsNineteenRunLinesMostRecentFirst) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    for (int run = 1; run <= 25; ++run) {
        ASSERT_TRUE(brisq.BringUp()) << run << " " << brisq.Describe();
        brisq.ForgetRecording();
        std::string line = "recorder.exe run" + std::to_string(run);
        brisq.RunLine(line);
        ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); })) << run << " " << brisq.Describe();
        std::vector<std::string> entries = brisq.DropDownEntries();
        ASSERT_EQ(entries.size(), size_t(run < 19 ? run : 19)) << run;
        EXPECT_EQ(entries.front(), line);
        if (run >= 19) {
            EXPECT_EQ(entries.back(), "recorder.exe run" + std::to_string(run - 18));
        }
    }
    // Typed again in other letter case: completion gives the field the earlier
    // line's case, and the drop-down holds it once, at the top.
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    brisq.RunLine("RECORDER.EXE RUN20");
    ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
    std::vector<std::string> entries = brisq.DropDownEntries();
    ASSERT_EQ(entries.size(), 19u);
    EXPECT_EQ(entries.front(), "recorder.exe run20");
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const std::string& e) { return lstrcmpiA(e.c_str(), "recorder.exe run20") == 0; }),
              1);
    EXPECT_EQ(entries[1], "recorder.exe run25");
}

TEST(Launcher, CloseButtonAsksAndYesEndsWithItsId) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    HWND close = GetDlgItem(brisq.Launcher(), 1019);
    ASSERT_NE(close, nullptr);

    PostMessageA(close, BM_CLICK, 0, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = DialogWithCaption(brisq.ProcessId(), "Exit")) != nullptr; }));
    EXPECT_EQ(DialogItemText(question, 0xFFFF),
              "Are you sure you want to close application?\n\n"
              "(To hide application window just press Hot Keys - CTRL + R)");
    EXPECT_NE(GetDlgItem(question, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(question, IDNO), nullptr);
    EXPECT_FALSE(IsWindowEnabled(brisq.Launcher()));  // modal: the hot key does nothing meanwhile
    SaveScreenshot("exit-question", question);

    PostMessageA(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_FALSE(brisq.HasExited());
    EXPECT_TRUE(brisq.IsShown());

    PostMessageA(close, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return (question = DialogWithCaption(brisq.ProcessId(), "Exit")) != nullptr; }));
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(brisq.WaitForExit(), 1019u);
}

TEST(Launcher, NewCopyStartsAfterTheFirstHasEnded) {
    {
        Brisq first;
        ASSERT_TRUE(first.Start());
        SendMessageTimeoutA(first.Launcher(), WM_COMMAND, 32777, 0, SMTO_NORMAL, 100, nullptr);
        HWND question = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (question = DialogWithCaption(first.ProcessId(), "Exit")) != nullptr; }));
        PostMessageA(question, WM_COMMAND, IDYES, 0);
        EXPECT_EQ(first.WaitForExit(), 32777u);
    }
    Brisq second;
    EXPECT_TRUE(second.Start());
}

namespace {
// A file type of the user's, with two verbs. This Wine's HKEY_CLASSES_ROOT shows
// only the machine's classes, so it goes there too (Windows refuses that to a
// user who is no administrator, and reads the user's).
class ScratchFileType {
public:
    ScratchFileType(const std::string& open, const std::string& runas) {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            Add(root, ".brisqe2e", "BrisqE2E.Document");
            Add(root, "BrisqE2E.Document", "");
            for (auto [verb, command] : {std::pair{"open", &open}, std::pair{"runas", &runas}})
                Add(root, std::string("BrisqE2E.Document\\shell\\") + verb + "\\command", *command);
        }
    }

private:
    void Add(HKEY root, const std::string& key, const std::string& value) {
        keys_.emplace_back(std::make_unique<ScratchKey>(root, "Software\\Classes\\" + key))->Set(value);
    }
    std::vector<std::unique_ptr<ScratchKey>> keys_;
};

std::string UserFolder() {
    char folder[MAX_PATH] = "";
    GetEnvironmentVariableA("USERPROFILE", folder, MAX_PATH);
    return folder;
}
}  // namespace

// What only the real shell shows: the folder a launched program starts in, a
// program known only by App Paths with its arguments, and Ctrl+Shift+Enter
// reaching the "runas" verb of a file type, where Enter reaches "open".
TEST(Launcher, RunsWhatTheRunDialogRunsWhereItRunsIt) {
    Brisq brisq;
    const std::string recorder = brisq.Folder().File("recorder.exe");
    const std::string document = brisq.Folder().File("paper.brisqe2e");
    WriteFile(document, "x");
    ScratchKey appPath(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\brisq-e2e-tool.exe");
    appPath.Set(recorder);
    ScratchFileType type("\"" + recorder + "\" open \"%1\"", "\"" + recorder + "\" runas \"%1\"");
    ASSERT_TRUE(brisq.Start());

    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    brisq.RunLine("brisq-e2e-tool alpha  beta");
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedFolder().empty(); })) << brisq.Describe();
    EXPECT_EQ(brisq.RecordedCommandLine(), "\"" + recorder + "\" alpha  beta");
    EXPECT_EQ(lstrcmpiA(brisq.RecordedFolder().c_str(), UserFolder().c_str()), 0)
        << brisq.RecordedFolder() << " is not " << UserFolder();

    const struct {
        bool elevated;
        const char* verb;
    } runs[] = {{false, "open"}, {true, "runas"}};
    for (const auto& run : runs) {
        brisq.ForgetRecording();
        ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
        TypeText(document);
        ASSERT_TRUE(WaitUntil([&] { return brisq.FieldText() == document; })) << brisq.Describe();
        if (run.elevated) {
            ASSERT_TRUE(HoldKey(VK_CONTROL));
            EXPECT_TRUE(PressChord(VK_SHIFT, VK_RETURN));
            EXPECT_TRUE(LetGoKey(VK_CONTROL));
        } else {
            PressKey(VK_RETURN);
        }
        ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedFolder().empty(); })) << run.verb << " " << brisq.Describe();
        EXPECT_EQ(brisq.RecordedCommandLine(), "\"" + recorder + "\" " + run.verb + " \"" + document + "\"");
        EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
        EXPECT_EQ(brisq.DropDownEntries().front(), document);
    }
}
