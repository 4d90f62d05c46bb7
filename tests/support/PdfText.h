// The text of a PDF as pdftotext lays it out, pages parted by form feeds.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace testing_support {

inline std::string pdfText(const std::filesystem::path& pdf) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(
        popen(("pdftotext -layout '" + pdf.string() + "' -").c_str(), "r"), pclose);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        text.append(buffer, n);
    return text;
}

} // namespace testing_support
