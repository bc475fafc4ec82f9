#pragma once
// The registry contract: one suite run against every Registry implementation.
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/Registry.h"

namespace quillon {

// A registry and a HKCU key that a test owns: it exists and is empty when the sandbox is
// made, and is gone (with everything below it) when the sandbox is destroyed.
class RegistrySandbox {
public:
    virtual ~RegistrySandbox() = default;
    virtual Registry& registry() = 0;
    virtual const std::string& scratchKey() const = 0;
};

struct RegistryTarget {
    std::string name;  // a test-name suffix: letters and digits only
    std::function<std::unique_ptr<RegistrySandbox>()> make;
};

void PrintTo(const RegistryTarget& target, std::ostream* os);

}  // namespace quillon
