// The suites' one main: the test driver attaches to the subset before any test runs.
#include <gtest/gtest.h>

#include "winapi/driver/session.h"

namespace {

class Driver : public ::testing::Environment {
 public:
  void SetUp() override { drv::Attach(); }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new Driver);
  return RUN_ALL_TESTS();
}
