#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "about/about_dialog.h"
#include "controls/separator_line.h"
#include "about/version_info.h"
#include "framework/module.h"
#include "window_picture.h"

namespace {
// A separator of the given size on a visible popup.
class LineHost {
public:
    LineHost(int width, int height) {
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 40, 40, 200, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        line.Attach(CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, 10, 10, width, height,
                                    parent_, nullptr, GetModuleHandleA(nullptr), nullptr));
    }
    ~LineHost() { DestroyWindow(parent_); }
    SeparatorLine line;

private:
    HWND parent_;
};

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

std::string BinFolder() {
    std::string path = ModuleFileName();
    return path.substr(0, path.rfind('\\') + 1);
}
}  // namespace

TEST(SeparatorLine, RaisedIsLightAboveShadeAndSunkenTheReverse) {
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shade = GetSysColor(COLOR_BTNSHADOW);
    ASSERT_NE(light, shade);
    LineHost horizontal(100, 6);
    EXPECT_FALSE(horizontal.line.Raised());  // sunken until told
    horizontal.line.SetRaised(true);
    WindowPicture raised(horizontal.line.Handle());
    EXPECT_EQ(raised.At(50, 2), light);  // the band is rows 2 and 3 of 6
    EXPECT_EQ(raised.At(50, 3), shade);
    EXPECT_EQ(raised.At(0, 2), light);
    EXPECT_EQ(raised.At(99, 2), shade);  // the right edge is the shaded side
    horizontal.line.SetRaised(false);
    WindowPicture sunken(horizontal.line.Handle());
    EXPECT_EQ(sunken.At(50, 2), shade);
    EXPECT_EQ(sunken.At(50, 3), light);

    LineHost vertical(6, 100);
    vertical.line.SetRaised(true);
    WindowPicture upright(vertical.line.Handle());
    EXPECT_EQ(upright.At(2, 50), light);
    EXPECT_EQ(upright.At(3, 50), shade);
}

TEST(VersionInfo, ReadsThisProgramsOwnResource) {
    VersionInfo info;
    ASSERT_TRUE(info.LoadFromModule(nullptr));  // the test program carries Brisq's resources
    EXPECT_EQ(info.ProductName(), "Brisq");
    EXPECT_EQ(info.FileVersion(), "1.0.1.23");
    EXPECT_EQ(info.CompanyName(), "Brisq Software");
    EXPECT_EQ(info.LegalCopyright(), "Copyright (C) 2026 Brisq Software");
    EXPECT_EQ(info.String(kFileDescription), "Brisq");
    EXPECT_EQ(info.String(kOriginalFileName), "Brisq.exe");  // the key is found whatever its letter case
    EXPECT_EQ(info.String(kProductVersion), "1.0.1.23");
    EXPECT_EQ(info.String(kComments), "");
    EXPECT_EQ(info.Fixed().dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.Fixed().dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(info.Fixed().dwFileVersionLS, 0x00010017u);
    EXPECT_TRUE(StartsWith(AboutDialog::ProductText(info),
                           "<B>Brisq</B><BR>Version 1.0.1.23<BR>Copyright (C) 2026 Brisq Software<BR><BR><B>Brisq</B> is"));
}

TEST(VersionInfo, ReadsBrisqExeAndForgetsItWhenALoadFails) {
    VersionInfo info;
    ASSERT_TRUE(info.LoadFromFile((BinFolder() + "Brisq.exe").c_str()));
    EXPECT_EQ(info.ProductName(), "Brisq");
    EXPECT_NE(info.Fixed().dwSignature, 0u);

    EXPECT_FALSE(info.LoadFromFile((BinFolder() + "no-such-file.exe").c_str()));
    EXPECT_EQ(info.ProductName(), "");
    EXPECT_EQ(info.Fixed().dwSignature, 0u);
    ASSERT_TRUE(info.LoadFromFile((BinFolder() + "Brisq.exe").c_str()));
    EXPECT_FALSE(info.LoadFromFile((BinFolder() + "unit_tests.exe").c_str()));  // built without a version resource
    EXPECT_EQ(info.FileVersion(), "");

    // Without a version the product text keeps its frame.
    EXPECT_TRUE(StartsWith(AboutDialog::ProductText(info), "<B></B><BR>Version <BR><BR><BR><B>Brisq</B> is"));
}
