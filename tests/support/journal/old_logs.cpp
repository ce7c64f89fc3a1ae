#include "old_logs.h"

#include "sector/byte_order.h"
#include "sector/edc.h"

namespace tavrel::testing {

Bytes versionOneLog(const std::vector<ChangeRecord>& records) {
    Bytes log{'T', 'A', 'V', 'R', 'E', 'L', 'O', 'G', 1, 0, 0, 0, 0, 0, 0, 0};
    for (const ChangeRecord& record : records) {
        // The current body but for what the first version had otherwise: one number taken back
        // (0 for none) in place of their count and numbers, and no sector count after it.
        const Bytes current = encodeRecord(record, 2);
        const auto body = current.begin() + kRecordHeaderSize;
        Bytes old(body, body + 16);
        appendLittleEndian(old, record.undoes.empty() ? 0 : record.undoes.front(), 8);
        old.insert(old.end(), body + 16 + 4 + 8 * static_cast<long>(record.undoes.size()) + 4,
                   current.end() - 4);
        log.insert(log.end(), kRecordMagic.begin(), kRecordMagic.end());
        appendLittleEndian(log, old.size(), 4);
        appendLittleEndian(log, edc(old), 4);
        log.insert(log.end(), old.begin(), old.end());
        log.push_back(static_cast<std::uint8_t>(record.state));
    }
    return log;
}

}  // namespace tavrel::testing
