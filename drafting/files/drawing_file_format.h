// The drawing file's fixed pieces: the two signatures, the setting blocks' lengths and the limits
// a record must keep. All numbers in the file are little-endian; a length is a signed 16-bit word.
#ifndef LINEWORK_FILES_DRAWING_FILE_FORMAT_H
#define LINEWORK_FILES_DRAWING_FILE_FORMAT_H

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace linework::drawing_file {

inline constexpr size_t kSignatureSize = 22;
inline constexpr std::string_view kCurrentSignature{"Linework W0 Drawing\r\n\x1A", kSignatureSize};
inline constexpr std::string_view kOlderSignature{"Linework 3  Drawing\r\n\x1A", kSignatureSize};

// Setting blocks S1..S5, taken only when their length is exactly this.
inline constexpr size_t kS1Size = 12;
inline constexpr size_t kS2Size = 1320;
inline constexpr size_t kS3Size = 1368;
inline constexpr size_t kEndSymbolTableSize = 5100;
inline constexpr size_t kScaleRangesSize = 2048;

// The largest record in memory: a polyline of 256 vertices.
inline constexpr size_t kWorkRecordSize = 4116;
// An older file's block-insert name: a length byte and 8 characters.
inline constexpr size_t kOlderInsertNameSize = 9;
// An older block header's name field holds at least 8 characters.
inline constexpr size_t kOlderBlockNameRoom = 8;

// Status words a load leaves.
inline constexpr int32_t kStatusLoading = 2;
inline constexpr int32_t kStatusUnknownSignature = 99;
inline constexpr int32_t kStatusFormatError = 100;

// Messages of the message table the reader shows.
inline constexpr int kMessageInUse = 120;
inline constexpr int kMessageDamaged = 122;
inline constexpr int kMessageUnknownBlock = 125;
inline constexpr int kMessageDuplicateBlock = 126;
inline constexpr int kMessageLocateFile = 127;

}  // namespace linework::drawing_file

#endif
