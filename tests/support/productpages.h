#pragma once

#include <string>
#include <vector>

namespace nimbreltest
{

// A recorded National Weather Service text product of tests/data/products ("ZFP.txt").
std::string productFile(const std::string &name);

// A state's product page as the server lays it out: every product in its own <PRE> block followed by the
// separator ("<BR>" or "<HR>"), CRLF line ends
// (existing carriage returns stay).
std::string productPage(const std::vector<std::string> &products, const char *separator = "<BR>");

} // namespace nimbreltest
