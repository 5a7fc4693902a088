#pragma once
#include <cstdint>
#include <span>

// The CRC-32 of zip and PNG (reflected polynomial 0xEDB88320), with which a
// page picture seals its own bytes. Sealing every page of a long run and
// checking a loaded file cost little beside writing and reading the bytes:
// the CPU's carry-less multiply folds 64 bytes a step where it has one,
// tables take eight bytes a step elsewhere.
namespace Crc32 {

std::uint32_t of(std::span<const std::uint8_t> bytes);
// The same through the tables alone, whatever the CPU.
std::uint32_t ofByTables(std::span<const std::uint8_t> bytes);

}  // namespace Crc32
