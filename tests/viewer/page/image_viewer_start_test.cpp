// The image viewer's start: its arguments, and the command line that the launcher cuts back into
// exactly those arguments whatever the document's file name holds.
#include "page/image_viewer_start.h"

#include <sys/stat.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../platform/files/temp_drive.h"
#include "winplat/host.h"

namespace {

using lect32::EnlargedPicture;

class RecordingLauncher final : public winplat::host::Launcher {
public:
    std::vector<winplat::host::LaunchRequest> requests;
    winplat::host::Launched launch(const winplat::host::LaunchRequest& request) override {
        requests.push_back(request);
        return {};
    }
};

TEST(ImageViewerStartTest, ArgumentsByPictureKindAndEnlargeMode) {
    EnlargedPicture file{"C:\\docs\\a.bmp", false, 0, 0, 2};
    EXPECT_EQ(lect32::ImageViewerArguments(file), (std::vector<std::string>{"/f:C:\\docs\\a.bmp"}));
    EnlargedPicture stored{"C:\\docs\\book.lpx", true, 1234, 99, 1};
    EXPECT_EQ(lect32::ImageViewerArguments(stored), (std::vector<std::string>{"/f:C:\\docs\\book.lpx", "/s:1234"}));
    stored.enlargeMode = 2;
    EXPECT_EQ(lect32::ImageViewerArguments(stored),
              (std::vector<std::string>{"/f:C:\\docs\\book.lpx", "/s:1234", "/l:99"}));
}

TEST(ImageViewerStartTest, QuotingByTheCommandLineRules) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"},
        {"", "\"\""},
        {"two words", "\"two words\""},
        {"C:\\dir\\", "C:\\dir\\"},
        {"C:\\my dir\\", "\"C:\\my dir\\\\\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"a\\\"b", "\"a\\\\\\\"b\""},
    };
    for (const auto& [argument, quoted] : cases) EXPECT_EQ(lect32::QuoteArgument(argument), quoted) << argument;
}

class ImageViewerLaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive_.file("lecimg32.exe", "#!/bin/sh\n");
        ::chmod(drive_.host("lecimg32.exe").c_str(), 0755);
        previous_ = winplat::host::setLauncher(&launcher_);
    }
    void TearDown() override { winplat::host::setLauncher(previous_); }

    filetest::TempDrive drive_;
    RecordingLauncher launcher_;
    winplat::host::Launcher* previous_ = nullptr;
};

TEST_F(ImageViewerLaunchTest, FileNamesFromTheDocumentStayOneArgument) {
    const char* names[] = {
        "C:\\docs\\pic; rm -rf x.bmp",
        "C:\\docs\\`touch y`.bmp",
        "C:\\docs\\$(echo z) & del.bmp",
        "C:\\my docs\\quote\" inside.bmp",
        "C:\\docs\\ends in backslash\\",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        launcher_.requests.clear();
        EnlargedPicture picture{name, true, 77, 5, 2};
        EXPECT_GT(lect32::StartImageViewer("T:\\", picture), 31u);
        ASSERT_EQ(launcher_.requests.size(), 1u);
        const std::vector<std::string>& arguments = launcher_.requests[0].arguments;
        ASSERT_EQ(arguments.size(), 4u);
        EXPECT_EQ(arguments[1], std::string("/f:") + name);
        EXPECT_EQ(arguments[2], "/s:77");
        EXPECT_EQ(arguments[3], "/l:5");
        EXPECT_EQ(launcher_.requests[0].program, drive_.host("lecimg32.exe"));
    }
}

TEST_F(ImageViewerLaunchTest, MissingViewerOrPictureStartsNothing) {
    EXPECT_LE(lect32::StartImageViewer("T:\\nowhere\\", EnlargedPicture{"C:\\a.bmp"}), 31u);
    EXPECT_EQ(lect32::StartImageViewer("T:\\", EnlargedPicture{}), 0u);
    EXPECT_TRUE(launcher_.requests.empty());
}

}  // namespace
