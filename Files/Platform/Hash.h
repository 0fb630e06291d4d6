// Keyed lookup used for objects and instances: a typed alias over the standard hash map.
#pragma once
#include <unordered_map>

template <typename Key, typename Value> using Hash = std::unordered_map<Key, Value>;
