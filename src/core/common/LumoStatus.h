#pragma once

// Status codes returned by every public device operation.
namespace LumoStatus {
constexpr int Success = 0;
constexpr int AlreadyConnected = -1;
constexpr int OpenFailed = -2;
constexpr int NotConnected = -3;
constexpr int NoResponse = -4;
constexpr int InvalidBaudRate = -5;
constexpr int Nack = -6;
constexpr int Cancelled = -7;
constexpr int InvalidParameter = -8;
} // namespace LumoStatus
