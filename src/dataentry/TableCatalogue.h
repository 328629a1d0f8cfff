#pragma once
// The 25 input tables of the program, declared in code, in declaration order, and the
// comments and help pictures that the program gives them at start-up.

#include <string>
#include <vector>

#include "dataentry/TableDeclaration.h"

namespace torvex {

// The declarations, in declaration order (the table registry receives them in this order).
const std::vector<TTableDeclaration>& TableCatalogue();

// Comments set at start-up: table name and text ("\r" separates lines).
struct TTableComment {
    std::string Table;
    std::string Comments;
};
const std::vector<TTableComment>& TableStartupComments();

// Help pictures set at start-up: table name and the resource name of its picture.
struct TTableHelpPicture {
    std::string Table;
    std::string Picture;  // "ImagePressure" or "ImageTieBack"
};
const std::vector<TTableHelpPicture>& TableHelpPictures();

}  // namespace torvex
