#pragma once
// CDataFileOwner answers "which vehicle keeps its log in this file?" for a file the user opened
// from outside the program (a double-click in the file manager, `odrivo FILE.odv`). A vehicle's
// log is the file named after its VIN in the data folder, so the file belongs to the first
// vehicle of the list whose data file is that very file (the same file reached through another
// path, a link or a relative name counts). A copy elsewhere, or a file no vehicle names, belongs
// to none: the caller then shows the message that says why.

#include <string>

class CDataFileOwner {
public:
    struct Result {
        std::string vehicle; // "" when no vehicle keeps its log in the file
        std::string message; // why not, in plain words, when `vehicle` is ""
    };

    // `configFolder` holds the vehicle list; both folders end in '/'.
    static Result find(const std::string& configFolder, const std::string& dataFolder, const std::string& file);
};
