#pragma once
#include <ostream>
#include <string>

// report NAME FILE [coded] [--pdf PDF]: runs one of the program's reports
// (an entry of ReportRegistry: Form9, Form10, Form11) over the tables behind rekam_induk into the page
// store, as the preview does, and saves the pages to FILE, coded when asked,
// and to PDF as the preview's PDF export writes them. Prints the page count
// and how long the run took.
class ReportCommand {
public:
    // pdf: empty for no PDF file.
    static int run(const std::string& name, const std::string& file, bool coded, const std::string& pdf,
                   std::ostream& out, std::ostream& err);
};
