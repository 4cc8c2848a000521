// Feeds arbitrary bytes to the records reader: a file it takes holds only times a race can
// set, and is written back as a file that reads the same; a file it refuses gives no records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "race/Records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CourseRecords records;
    std::string wrong;
    const bool read = ReadRecords(in, &records, &wrong);
    const std::string text = RecordsText(records);
    if (read != wrong.empty() || (!read && text != RecordsText(CourseRecords()))) {
        std::abort();
    }
    CourseRecords again = records;
    std::istringstream written(text);
    if (!ReadRecords(written, &again, &wrong) || RecordsText(again) != text ||
        TakeLap(&again, records.bestLap) || TakeRace(&again, 3, records.BestRace(3))) {
        std::abort();
    }
    return 0;
}
