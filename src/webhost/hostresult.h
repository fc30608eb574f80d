#pragma once

#include <cstdint>

namespace quorvel {

// The status codes a pane answers the browser's host questions with. The browser reads them as
// it reads any result of its host: zero and one are success (S_FALSE: "do it yourself"), values
// with the top bit set are failures.
using HResult = std::int32_t;

inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_NOTIMPL = static_cast<HResult>(0x80004001u);
inline constexpr HResult E_NOINTERFACE = static_cast<HResult>(0x80004002u);
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
inline constexpr HResult OLECMDERR_E_NOTSUPPORTED = static_cast<HResult>(0x80040100u);
inline constexpr HResult DISP_E_MEMBERNOTFOUND = static_cast<HResult>(0x80020003u);
inline constexpr HResult DISP_E_EXCEPTION = static_cast<HResult>(0x80020009u);

} // namespace quorvel
