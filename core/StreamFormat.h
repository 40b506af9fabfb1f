#pragma once
// The component stream's building blocks shared by the writer and the
// reader: the value tags, the signature and the limits that keep untrusted
// files from driving the reader into deep recursion.
//
// A stream is the 4 bytes "TPF0" and one object record:
//   [prefix]  optional byte 0xF0 | flags (1 inherited, 2 child position,
//             4 inline); with flag 2 an integer value follows. Never written.
//   class name, object name          short strings (length byte, bytes)
//   property records, then 0         name (short string) and one value
//   child object records, then 0
// All numbers are little-endian.

#include <cstdint>

enum class TValueTag : uint8_t {
    End = 0,         // ends lists, collections, property and child sequences
    List = 1,        // values until End
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,    // 10-byte float (ExtendedFloat.h)
    String = 6,      // length byte, Windows-1252 bytes
    Ident = 7,       // length byte, identifier
    BoolFalse = 8,
    BoolTrue = 9,
    Binary = 10,     // 32-bit length, bytes
    Set = 11,        // short strings ended by an empty one
    LongString = 12, // 32-bit length, Windows-1252 bytes
    Nil = 13,
    Collection = 14, // items ended by End: [integer order] List, property records, End
    Single = 15,     // 4-byte float
    Currency = 16,   // 64-bit integer scaled by 10000
    Date = 17,       // 8-byte double
    WideString = 18, // 32-bit count of UTF-16 units, UTF-16LE
    Int64 = 19,
    Utf8String = 20, // 32-bit length, UTF-8
};

constexpr uint8_t kMaxValueTag = 20;

constexpr char kStreamSignature[4] = {'T', 'P', 'F', '0'};

// Object record prefix: high nibble 0xF, flags in the low nibble.
constexpr uint8_t kPrefixMask = 0xF0;
constexpr uint8_t kFlagChildPosition = 0x02;

// The deepest nesting of child objects, lists, collections and sub-object
// paths that the writer produces and the reader accepts.
constexpr int kMaxStreamNesting = 32;
