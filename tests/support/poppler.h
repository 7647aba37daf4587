#pragma once
// What a poppler tool ("pdftotext", "pdfinfo") prints for a PDF file: the text of its pages
// (a form feed between two pages) or its document information.

#include <stdio.h>

#include <string>

inline std::string Poppler(const std::string& tool, const std::string& pdf) {
    const std::string command = tool + " '" + pdf + "'" + (tool == "pdftotext" ? " -" : "");
    FILE* out = ::popen(command.c_str(), "r");
    if (!out) return {};
    std::string text;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, out)) > 0;) text.append(buffer, n);
    ::pclose(out);
    return text;
}
