// The decoder's sandbox, entered by a probe that loads the media module as
// the decoder does: what it forbids fails, and reading every picture type
// still works.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "media/seed_pictures.h"
#include "posix/decoder_sandbox.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

TEST(DecoderSandbox, ForbidsFilesSocketsOtherDescriptorsAndProgramsButReadsEveryPictureType) {
    if (const Result<void, std::string> available = decoderSandboxAvailable(); !available.ok())
        GTEST_SKIP() << available.error();
    test::TempDir dir;
    const std::string secret = dir.write("secret", "not for decoders");
    const std::string notHanded = dir.write("not-handed", "");
    std::vector<std::string> args = {TABULON_MEDIA_MODULE, secret, notHanded};
    for (const std::string& name : test::seedPictures()) {
        if (!name.ends_with(".svg")) // drawn by the browser: never decoded
            args.push_back((test::kSeedFolder / name).string());
    }

    const test::ProcessResult r = test::runProcess(TABULON_SANDBOX_PROBE, args);
    EXPECT_EQ(r.exitCode, 128 + SIGSYS) << r.err; // execve ends it
    std::string expected = "open-by-name EACCES\n"
                           "open-environ EACCES\n"
                           "openat-by-name EACCES\n"
                           "socket-inet EPERM\n"
                           "socket-unix EPERM\n"
                           "write-not-handed EBADF\n"
                           "write-stderr EBADF\n";
    for (std::size_t i = 3; i < args.size(); ++i) {
        expected += "thumbnail " + args[i] + " ok\n";
        // Exiv2 reads from memory: a photo's tags are found.
        const bool tagged = args[i].ends_with("/photo.jpg") || args[i].ends_with("/tiled.tif");
        const std::string meta = "metadata " + args[i];
        expected += meta + (tagged || r.out.find(meta + " ok\n") != std::string::npos ? " ok\n" : " none\n");
    }
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(test::readAll(notHanded), "");
}

} // namespace
} // namespace tabulon
