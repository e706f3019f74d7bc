// The record tests' harness on the real registry: a private key below
// HKEY_CURRENT_USER for each test, removed when the harness is freed.
#pragma once
#include <string>

#include "settings/StoreHarness.h"

namespace tessivane::testing {

std::unique_ptr<StoreHarness> MakeRegistryHarness();
// A key path below HKEY_CURRENT_USER no other test uses (with characters
// outside every code page, so the W functions are exercised).
std::string PrivateKeyPath();
// Removes a key and everything below it.
void DeleteKeyTree(const std::string& keyPath);

}  // namespace tessivane::testing
