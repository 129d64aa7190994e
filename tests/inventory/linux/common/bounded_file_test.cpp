// Reading small system files with a bound, and the descriptor owner.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <fstream>

#include "inventory/linux/common/bounded_file.h"
#include "inventory/linux/common/unique_fd.h"
#include "support/linux/temp_folder.h"

namespace quorvane::linux_inventory {
namespace {

bool IsOpen(int fd) { return fcntl(fd, F_GETFD) != -1; }

TEST(LinuxSourceBoundedFile, ReadsAtMostTheBoundAndTheModificationTime) {
    const testing::TempFolder folder("bounded");
    ASSERT_TRUE(folder.made());
    const std::string path = folder.path() + "/file";
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
}

TEST(LinuxSourceBoundedFile, MissingDirectoriesAndFifosAreNotRead) {
    EXPECT_EQ(ReadBoundedFile("/nonexistent/file", 64), std::nullopt);
    const testing::TempFolder folder("fifo");
    ASSERT_TRUE(folder.made());
    EXPECT_EQ(ReadBoundedFile(folder.path(), 64), std::nullopt);
    // A FIFO without a writer would block a plain read for ever.
    const std::string fifo = folder.path() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadBoundedFile(fifo, 64), std::nullopt);
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
