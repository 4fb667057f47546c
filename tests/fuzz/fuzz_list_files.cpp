// The list readers on arbitrary bytes. Beyond not crashing: a list that was
// read and written once must read back to the same list, or a save and load
// cycle would slowly change the user's list.
#include "listops/list_files.h"
#include "tests/fuzz/fuzz_core.h"

#include <string>

namespace {

using namespace zorone;

void Parse(Core& core, std::string_view text, ListFormat format)
{
    core.list.DeleteAllItems();
    if (format == ListFormat::Csv)
        ParseCsvText(core, text);
    else
        ParseLineListText(core, text, format);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::FuzzCore f;
    Core& core = f.core;
    if (size == 0)
        return 0;
    // The first byte picks the reader.
    const ListFormat format = data[0] % 3 == 0 ? ListFormat::Csv : data[0] % 3 == 1 ? ListFormat::Txt : ListFormat::Lst;
    Parse(core, fuzz::AsText(data + 1, size - 1), format);
    const std::string once = BuildListText(core, format);
    Parse(core, once, format);
    fuzz::Require(BuildListText(core, format) == once);
    return 0;
}
