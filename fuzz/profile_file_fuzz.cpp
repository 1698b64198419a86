// Profile files as read from disk or an import: any bytes give a clear
// result, and a record that loads writes back to bytes that load the same.

#include "profiles/profile_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talwyn;
    DataStream stream;
    stream.loadBytes({data, size});
    ProfileData record;
    const ProfileData before = record;
    if (readProfile(stream, record) != ProfileLoad::Loaded) {
        if (!(record == before))
            std::abort(); // a failed load must leave the record as it was
        return 0;
    }
    DataStream written(DataStream::Purpose::Write);
    writeProfile(written, record);
    DataStream again;
    again.loadBytes(written.bytes());
    ProfileData reread;
    if (readProfile(again, reread) != ProfileLoad::Loaded || !(reread == record))
        std::abort();
    return 0;
}
