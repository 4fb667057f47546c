// The list readers on arbitrary bytes. Beyond not crashing: a list that was
// read and written once must read back to the same list, or a save and load
// cycle would slowly change the user's list. The one exception is a column
// holding a comma (CSV has no quoting; a last field ended by the file's
// final "," keeps it), which reads back split by design.
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
    if (format == ListFormat::Csv)
        for (int row = 0; row < core.list.GetItemCount(); ++row)
            for (int column = 0; column < kColumnCount; ++column)
                if (core.list.GetItemText(row, column).find(',') != std::string::npos)
                    return 0;
    const std::string once = BuildListText(core, format);
    Parse(core, once, format);
    fuzz::Require(BuildListText(core, format) == once);
    return 0;
}
