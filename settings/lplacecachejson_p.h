#pragma once

#include "settings/lplacecache.h"

#include <nlohmann/json.hpp>

namespace settings
{

// The cache file's fields: {"version": 1, "state": 17, "city": 2045, "written": 1796652000, "condition": {...},
// "station": {...} (a nearby station's observation only),
// "forecast": {"text": "...", "fetched": ...}, "messages": {"warnings": {...}}, "alerts": [...], "periods": {...},
// "hours": {...}}. Absent values are left out, never written as made-up ones.
nlohmann::json placeCacheToJson(const LPlaceCacheRecord &record);
// Throws nlohmann::json::exception when a field is missing or of the wrong kind; the version and place are the
// caller's to check.
LPlaceCacheRecord placeCacheFromJson(const nlohmann::json &document);

} // namespace settings
