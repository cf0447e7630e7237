// libFuzzer target: any bytes as a record file. Decoding never fails, a record written from what
// was read reads back as the same bytes, and the quick free-slot test agrees with the slow one.
#include "Gbk.h"
#include "SiteRecord.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* bytes = reinterpret_cast<const char*>(data);
    for (size_t offset = 0; offset + SiteRecord::Length <= size; offset += SiteRecord::Length) {
        const SiteRecord rec = SiteRecord::fromBytes(bytes + offset);
        if (SiteRecord::nameFromBytes(bytes + offset) != rec.SiteName) {
            std::abort();
        }
        const QByteArray written = rec.toBytes();
        if (written.size() != SiteRecord::Length || SiteRecord::fromBytes(written.constData()).toBytes() != written) {
            std::abort();
        }
        Gbk::fits(rec.Password, SiteRecord::PasswordWidth);
        // The quick test for a free slot agrees with the decoded description.
        if (SiteRecord::isDeletedSlot(bytes + offset) != (Gbk::trimBlanks(rec.SiteName) == SiteRecord::DeletedMarker)) {
            std::abort();
        }
    }
    return 0;
}
