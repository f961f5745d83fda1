// The simulated module's preload library for Wine (tools/winesim/simport.cpp), driven with the
// ioctls Wine makes for the port calls: a line change is TIOCMGET then TIOCMSET, the break
// TIOCSBRK/TIOCCBRK, the status read TIOCMGET. The library is loaded with dlopen, so only the
// calls made through its own ioctl reach it.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support.h"

namespace {

using IoctlFn = int (*)(int, unsigned long, ...);

struct Pty {
  int master = -1, slave = -1;
  std::string name;
  Pty() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master);
    unlockpt(master);
    name = ptsname(master);
    slave = open(name.c_str(), O_RDWR | O_NOCTTY);
  }
  ~Pty() {
    close(slave);
    close(master);
  }
};

class SimPort : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GE(pty.slave, 0);
    log = ::testing::TempDir() + "simport-" + std::to_string(getpid()) + ".log";
    std::remove(log.c_str());
    setenv("PIKON_SIM_TTY", pty.name.c_str(), 1);
    setenv("PIKON_SIM_LOG", log.c_str(), 1);
    setenv("PIKON_SIM_SIGNALS", "100,200,2047,400,500,600,700,4095", 1);
    library = dlopen(PIKON_SIMPORT_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    call = reinterpret_cast<IoctlFn>(dlsym(library, "ioctl"));
    ASSERT_NE(call, nullptr);
  }
  void TearDown() override {
    if (library) dlclose(library);
  }

  // Wine's line change: read the lines, change one bit, set them.
  void Line(int fd, int bit, bool on) {
    int lines = 0;
    ASSERT_EQ(call(fd, TIOCMGET, &lines), 0);
    lines = on ? (lines | bit) : (lines & ~bit);
    ASSERT_EQ(call(fd, TIOCMSET, &lines), 0);
  }
  int Status(int fd) {
    int lines = 0;
    EXPECT_EQ(call(fd, TIOCMGET, &lines), 0);
    return lines;
  }
  // One conversion as the program makes it; returns the code it assembles.
  int Convert(int fd, int channel) {
    Line(fd, TIOCM_DTR, false);
    for (int bit : testsupport::ControlWord(channel)) {
      Line(fd, TIOCM_DTR, bit != 0);
      Line(fd, TIOCM_RTS, true);
      Line(fd, TIOCM_RTS, false);
    }
    Line(fd, TIOCM_DTR, false);
    usleep(50);  // the conversion: up to 10 µs, measured in real time here
    int code = 0;
    for (int i = 12; i >= 0; --i) {
      Line(fd, TIOCM_RTS, true);
      int bit = (Status(fd) & TIOCM_CTS) ? 0 : 1;
      if (i < 12) code |= bit << i;
      Line(fd, TIOCM_RTS, false);
    }
    Line(fd, TIOCM_DTR, true);
    return code;
  }
  std::string Log() {
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  Pty pty;
  std::string log;
  void* library = nullptr;
  IoctlFn call = nullptr;
};

TEST_F(SimPort, AnswersTheProbeAndConversionsAndLogsEachTransaction) {
  int fd = pty.slave;
  ASSERT_EQ(call(fd, TIOCSBRK, 0), 0);
  EXPECT_EQ(Status(fd) & (TIOCM_RNG | TIOCM_CAR), TIOCM_RNG | TIOCM_CAR);
  ASSERT_EQ(call(fd, TIOCCBRK, 0), 0);
  EXPECT_EQ(Status(fd) & (TIOCM_RNG | TIOCM_CAR | TIOCM_CTS | TIOCM_DSR), TIOCM_CTS)
      << "CTS on: the chip's DOUT rests low";
  // Configured: DTR on, and the clock, raised since the port was opened, lowered.
  Line(fd, TIOCM_DTR, true);
  Line(fd, TIOCM_RTS, false);
  EXPECT_EQ(Convert(fd, 3), 2047);
  EXPECT_EQ(Convert(fd, 8), 4095);
  EXPECT_EQ(Convert(fd, 1), 100);
  EXPECT_EQ(Log(),
            "attach\nbreak on\nstatus 0x00D0\nbreak off\nstatus 0x0010\n"
            "T 1 ch 3 ctrl 0x9E code 2047 reads 13 got 2047\n"
            "T 2 ch 8 ctrl 0xFE code 4095 reads 13 got 4095\n"
            "T 3 ch 1 ctrl 0x8E code 100 reads 13 got 100\n");
}

TEST_F(SimPort, LogsAProtocolViolation) {
  int fd = pty.slave;
  Line(fd, TIOCM_DTR, true);   // START, taken on the rising edge
  Line(fd, TIOCM_RTS, true);
  Line(fd, TIOCM_RTS, false);
  Line(fd, TIOCM_RTS, true);
  Line(fd, TIOCM_DTR, false);  // data changed while the clock is high
  EXPECT_NE(Log().find("VIOLATION DTR changed while the clock was high"), std::string::npos)
      << Log();
}

// Every other descriptor reaches the real ioctl: another pty, and a file that is no terminal.
TEST_F(SimPort, LeavesEveryOtherDescriptorAlone) {
  Pty other;
  int lines = 0, real = 0;
  errno = 0;
  int got = call(other.slave, TIOCMGET, &lines);
  int gotErrno = errno;
  errno = 0;
  EXPECT_EQ(got, ioctl(other.slave, TIOCMGET, &real));
  EXPECT_EQ(gotErrno, errno);
  int null = open("/dev/null", O_RDWR);
  errno = 0;
  EXPECT_EQ(call(null, TIOCSBRK, 0), -1);
  EXPECT_EQ(errno, ENOTTY);
  close(null);
  EXPECT_EQ(Log(), "");
}

}  // namespace
