// Host paths turned into the drive form the programs see.
#include <string>

#include <gtest/gtest.h>

#include "kernel/drive_path.h"
#include "winplat/testing.h"

namespace {

TEST(DrivePath, HostPathsBecomeDriveForm) {
    winplat::testing::setDrives("C:/");
    const struct {
        const char* host;
        std::string drive;
    } cases[] = {
        {"/", "C:\\"},
        {"/usr/bin/lect32", "C:\\usr\\bin\\lect32"},
        {"/home/eva/", "C:\\home\\eva\\"},
        {"//srv///data//x", "C:\\srv\\data\\x"},
        {"bin/lect32", "bin\\lect32"},
        {"", ""},
        // UTF-8 Czech name: "Účty/Žluťoučký.txt" in cp1250 bytes.
        {"/data/\xC3\x9A\xC4\x8Dty/\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD.txt",
         "C:\\data\\\xDA\xE8ty\\\x8Elu\x9Dou\xE8k\xFD.txt"},
        // The snowman has no cp1250 byte; the euro sign has one (0x80).
        {"/tmp/\xE2\x98\x83-\xE2\x82\xAC", "C:\\tmp\\?-\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        EXPECT_EQ(winplat::drivePathFromHost(c.host), c.drive);
    }
    winplat::testing::setDrives("");
}

}  // namespace
