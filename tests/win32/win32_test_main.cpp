// The window tests need a display: under Wine an X server (xvfb-run). Without one no window can
// be made, and every test says so at once instead of failing in strange ways.

#include <windows.h>

#include <gtest/gtest.h>

namespace {

class DisplayCheck : public ::testing::Environment {
 public:
  void SetUp() override {
    HWND probe = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(probe, nullptr)
        << "no window can be created: run the tests with a display (under Wine: inside "
           "xvfb-run -a -s \"-screen 0 1024x768x24\")";
    DestroyWindow(probe);
  }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new DisplayCheck);
  return RUN_ALL_TESTS();
}
