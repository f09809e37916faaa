#pragma once

class StoreConnection;

// The tables of the store, and the way a store made by an earlier version of
// Pramel is brought up to date.
namespace StoreSchema {

// Bumped whenever the tables change.
constexpr int version = 8;

// Makes the tables of a new, empty file, or moves an older store's tables
// to the present ones. Which migration runs follows from the tables the file
// holds, not from its version number alone. Throws StoreError.
void prepare(StoreConnection& store);

} // namespace StoreSchema
