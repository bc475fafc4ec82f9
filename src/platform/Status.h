#pragma once
// Result codes at the port boundary. The numbers are the system's own error codes, so an
// adapter passes them through unchanged and logic can compare with the values it knows.
#include <cstdint>

namespace quillon {

enum class [[nodiscard]] Status : std::uint32_t {
    Ok = 0,
    FileNotFound = 2,
    PathNotFound = 3,
    AccessDenied = 5,
    InvalidHandle = 6,
    NotEnoughMemory = 8,
    NotSameDevice = 17,
    WriteFault = 29,
    ReadFault = 30,
    SharingViolation = 32,
    HandleDiskFull = 39,
    NotSupported = 50,
    FileExists = 80,
    InvalidParameter = 87,
    DiskFull = 112,
    InvalidName = 123,
    // A path longer than the call takes: the shell's file operation takes none past MAX_PATH.
    PathTooLong = 206,
    DirNotRoot = 144,
    DirNotEmpty = 145,
    AlreadyExists = 183,
    MoreData = 234,
    NoMoreItems = 259,
    DirectoryInvalid = 267,
    Cancelled = 1223,
    KeyDeleted = 1018,
};

constexpr bool succeeded(Status s) noexcept { return s == Status::Ok; }
constexpr std::uint32_t code(Status s) noexcept { return static_cast<std::uint32_t>(s); }

}  // namespace quillon
