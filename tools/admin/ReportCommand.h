#pragma once
#include <ostream>
#include <string>

// report NAME FILE [coded]: runs one of the program's reports (Form9,
// Form10, Form11) over the tables behind rekam_induk into the page store,
// as the preview does, and saves the pages to FILE, coded when asked. Prints
// the page count and how long the run took.
class ReportCommand {
public:
    static int run(const std::string& name, const std::string& file, bool coded, std::ostream& out,
                   std::ostream& err);
};
