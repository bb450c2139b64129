#include "win32/registry_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace varnock::win32 {
namespace {

// The next run reads what this one wrote, names outside ASCII whole; a value never written
// reads as nothing.
TEST(Win32Settings, WhatOneRunWritesTheNextReads) {
  const std::wstring key = L"Software\\Varnock test " + std::to_wstring(GetCurrentProcessId());
  const std::string exe = "C:\\J\xC3\xA4ger\\tomb4.exe";
  RegistrySettings(key).Write("LastTarget", exe);
  EXPECT_EQ(RegistrySettings(key).Read("LastTarget"), exe);
  EXPECT_EQ(RegistrySettings(key).Read("LastPatchFolder"), "");
  RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

}  // namespace
}  // namespace varnock::win32
