#include "database/index_records.h"

namespace tandemora {

bool readRecord(const uint8_t* p, const uint8_t* dataEnd, RecordView& record) {
    if (static_cast<size_t>(dataEnd - p) < kRecordHeadSize) return false;
    const int32_t length = int32At(p);
    if (length < static_cast<int32_t>(kRecordHeadSize) || length > dataEnd - p) return false;
    record.end = p + length;
    record.crazyhouse = p[4] != 0;
    record.databaseOffset = int32At(p + 5);
    record.minutes = p[9];
    record.increment = p[10];
    record.result = p[11];
    record.date = int32At(p + 12);
    const int seats = record.crazyhouse ? 2 : 4;
    const uint8_t* at = p + kRecordHeadSize;
    for (int seat = 0; seat < seats; ++seat) {
        const auto* zero = static_cast<const uint8_t*>(std::memchr(at, 0, record.end - at));
        if (!zero || record.end - zero < 3) return false;
        record.players.names[seat] = std::string_view(reinterpret_cast<const char*>(at), zero - at);
        record.players.ratings[seat] = int16At(zero + 1);
        at = zero + 3;
    }
    for (int seat = seats; seat < 4; ++seat) {
        record.players.names[seat] = {};
        record.players.ratings[seat] = 0;
    }
    record.afterPlayers = at;
    return true;
}

}  // namespace tandemora
