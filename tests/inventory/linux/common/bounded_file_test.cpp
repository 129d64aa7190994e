// Reading small system files with a bound, and the descriptor owner.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "inventory/linux/common/bounded_file.h"
#include "inventory/linux/common/unique_fd.h"

namespace quorvane::linux_inventory {
namespace {

bool IsOpen(int fd) { return fcntl(fd, F_GETFD) != -1; }

TEST(LinuxSourceBoundedFile, ReadsAtMostTheBoundAndTheModificationTime) {
    const std::string path = ::testing::TempDir() + "qv-bounded-" + std::to_string(getpid());
    std::ofstream(path) << "0123456789";
    const timespec times[2] = {{0, UTIME_OMIT}, {1169473439, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    const auto whole = ReadFileSnapshot(path, 64);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->text, "0123456789");
    EXPECT_EQ(whole->modified, 1169473439);
    EXPECT_FALSE(whole->cut);
    const auto last = ReadFileSnapshot(path, 4, BoundedPart::Last);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->text, "6789");
    EXPECT_TRUE(last->cut);
    EXPECT_EQ(ReadBoundedFile(path, 4), "0123");
    EXPECT_EQ(ReadBoundedFile(path, 0), "");
    std::remove(path.c_str());
}

TEST(LinuxSourceBoundedFile, MissingDirectoriesAndFifosAreNotRead) {
    EXPECT_EQ(ReadBoundedFile("/nonexistent/file", 64), std::nullopt);
    EXPECT_EQ(ReadBoundedFile(::testing::TempDir(), 64), std::nullopt);
    // A FIFO without a writer would block a plain read for ever.
    const std::string fifo = ::testing::TempDir() + "qv-fifo-" + std::to_string(getpid());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadBoundedFile(fifo, 64), std::nullopt);
    std::remove(fifo.c_str());
}

TEST(LinuxSourceUniqueFd, ClosesOnceWhenTheLastOwnerGoes) {
    const int raw = open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(raw, 0);
    {
        unique_fd first(raw);
        unique_fd second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), raw);
        unique_fd third;
        third = std::move(second);
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));
}

}  // namespace
}  // namespace quorvane::linux_inventory
