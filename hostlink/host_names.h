#pragma once

// Where the host editor's plug-in core lives on the session bus, and its methods.
namespace tabulon::host {

inline constexpr const char* kService = "htmlkit.HTMLKitPluginsCore";
inline constexpr const char* kPath = "/htmlkit/HTMLKitPluginsCore";
inline constexpr const char* kInterface = "htmlkit.HTMLKitPluginsCore";

inline constexpr const char* kDataAdd = "hkp_DataAdd";                         // (s key, v value)
inline constexpr const char* kDataAddInt = "hkp_DataAddInt";                   // (s key, n value)
inline constexpr const char* kDataSetGlobalSuffix = "hkp_DataSetGlobalSuffix"; // (s suffix)

} // namespace tabulon::host
