#pragma once
// CExportName holds the rules for the name of a CSV export file as the user types it in
// the export dialog: which names are refused, the ".csv" that is added when the name does
// not mention it, and the name offered when none was used before.

#include <string>

class CExportName {
public:
    static constexpr const char* kInvalidText =
        "File Name is invalid.\nThe file name (including path) must be shorter than 255 characters.\nFile names "
        "cannot contain *, ?, <, > or |, nor end with /.";
    static constexpr std::size_t kMaxLength = 255;

    // False when the name is empty, ends with the folder separator "/", holds *, ?, <, >, |
    // or is kMaxLength characters or longer. "/" and ":" are allowed inside: the name is a path.
    static bool isValid(const std::string& name);

    // The name with ".csv" added unless a lower-case copy of it already contains ".csv".
    static std::string withCsvExtension(const std::string& name);

    // The name offered before any export: "<folder><VIN>.CSV" (folder ends with "/").
    static std::string defaultName(const std::string& folder, const std::string& vin);
};
