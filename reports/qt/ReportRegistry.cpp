#include "ReportRegistry.h"

#include <stdexcept>
#include <string>

#include "ReportDefinitions.h"
#include "ShortCut.h"
#include "TDMarsipstaf.h"

const std::vector<ReportRegistry::Entry>& ReportRegistry::all()
{
    static const std::vector<Entry> entries = {
        {.name = "Form9",
         .caption = "Laporan Daftar Urut Kepangkatan",
         .menuItem = "DaftarurutKepangkatan1",
         .menuCaption = "Daftar Urut Kepangkatan",
         .shortCut = ShortCut::ctrl | 'A',
         .table = [](TDMarsipstaf& module) -> TDataSet& { return module.Tdatapeg; },
         .define = ReportDefinitions::Form9},
        {.name = "Form10",
         .caption = "Laporan Bezetting",
         .menuItem = "Bezetting1",
         .menuCaption = "Bezetting",
         .shortCut = ShortCut::ctrl | 'B',
         .table = [](TDMarsipstaf& module) -> TDataSet& { return module.Tdatapeg; },
         .define = ReportDefinitions::Form10},
        {.name = "Form11",
         .caption = "Laporan Mutasi",
         .menuItem = "Mutasi2",
         .menuCaption = "Mutasi",
         .shortCut = ShortCut::ctrl | 'C',
         .table = [](TDMarsipstaf& module) -> TDataSet& { return module.Tmutasi; },
         .define = ReportDefinitions::Form11},
    };
    return entries;
}

const ReportRegistry::Entry* ReportRegistry::find(std::string_view name)
{
    for (const Entry& entry : all())
        if (name == entry.name)
            return &entry;
    return nullptr;
}

const ReportRegistry::Entry& ReportRegistry::at(std::string_view name)
{
    if (const Entry* entry = find(name))
        return *entry;
    throw std::out_of_range("no report " + std::string(name));
}

std::string ReportRegistry::names()
{
    std::string text;
    const std::vector<Entry>& entries = all();
    for (size_t i = 0; i < entries.size(); ++i)
        text += (i == 0 ? "" : i + 1 == entries.size() ? " or " : ", ") + std::string(entries[i].name);
    return text;
}
