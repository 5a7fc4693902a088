#pragma once
// Files we write, read back by an independent reader: a Python script.
#include <cstdio>
#include <fstream>
#include <string>

// Runs script with path as its argument; its output, errors included.
inline std::string python(const std::string& script, const std::string& path)
{
    std::string scriptPath = path + ".py";
    std::ofstream(scriptPath) << script;
    std::string command = "/usr/bin/python3 " + scriptPath + " '" + path + "' 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[4096];
        size_t n;
        while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0)
            output.append(chunk, n);
        pclose(pipe);
    }
    return output;
}

// A CSV file's rows, fields joined by tabs, through Python's strict reader.
inline const char* const csvReader = R"(import csv, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    for row in csv.reader(f, strict=True):
        print('\t'.join(row))
)";
