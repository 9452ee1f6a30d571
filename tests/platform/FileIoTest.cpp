// The whole-buffer transfers: positional writes and reads, the short read at the end of the file,
// the reported error, and a write that signals interrupt again and again.
#include "FileIo.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <numeric>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

std::vector<uint8_t> Counting(size_t bytes) {
    std::vector<uint8_t> data(bytes);
    std::iota(data.begin(), data.end(), uint8_t(0));
    return data;
}

TEST(FileIo, WritesAndReadsAtPositionsAndStopsAtTheEnd) {
    TempDir dir;
    const int fd = open(dir.File("f").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    const std::vector<uint8_t> data = Counting(1000);
    EXPECT_EQ(WriteAllAt(fd, 100, data.data(), 1000).Bytes, 1000);
    EXPECT_EQ(WriteAll(fd, data.data(), 10).Bytes, 10); // at offset 0: the positional write kept it
    std::vector<uint8_t> back(2000, 0xAA);
    const FileIoResult read = ReadAllAt(fd, 0, back.data(), 2000);
    EXPECT_EQ(read.Bytes, 1100);
    EXPECT_EQ(read.Error, 0);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), back.begin() + 100));
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 10, back.begin()));
    EXPECT_EQ(back[1100], 0xAA);
    close(fd);
    EXPECT_EQ(ReadAllAt(fd, 0, back.data(), 1).Error, EBADF);
    EXPECT_EQ(WriteAllAt(fd, 0, back.data(), 1).Error, EBADF);
}

TEST(FileIo, AFullDeviceReportsNoSpace) {
    const int fd = open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0);
    const uint8_t byte = 1;
    EXPECT_EQ(WriteAll(fd, &byte, 1).Error, ENOSPC);
    close(fd);
}

TEST(FileIo, InterruptedWritesGoOnUntilEverythingIsWritten) {
    struct sigaction action {
    }, old{};
    action.sa_handler = [](int) {};
    sigaction(SIGUSR1, &action, &old); // no SA_RESTART: a blocked write returns EINTR
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const std::vector<uint8_t> data = Counting(1 << 20);
    std::vector<uint8_t> received;
    const pthread_t writer = pthread_self();
    std::thread reader([&] {
        uint8_t chunk[4096];
        ssize_t got;
        // While the writer waits on the full pipe: the first signal ends its write short, the
        // second finds the next write with nothing written yet, which then fails with EINTR.
        do {
            for (int signal = 0; signal < 2; ++signal) {
                pthread_kill(writer, SIGUSR1);
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            got = read(pipeEnds[0], chunk, sizeof chunk);
            received.insert(received.end(), chunk, chunk + std::max<ssize_t>(got, 0));
        } while (got > 0);
    });
    const FileIoResult written = WriteAll(pipeEnds[1], data.data(), int64_t(data.size()));
    close(pipeEnds[1]);
    reader.join();
    close(pipeEnds[0]);
    sigaction(SIGUSR1, &old, nullptr);
    EXPECT_EQ(written.Error, 0);
    EXPECT_EQ(written.Bytes, int64_t(data.size()));
    EXPECT_EQ(received, data);
}

} // namespace
