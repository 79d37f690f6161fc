#include "tests/support/productpages.h"

#include "tests/support/tempdir.h"

namespace nimbreltest
{

std::string productFile(const std::string &name)
{
    return TempDir::read(NIMBREL_TEST_DATA "/products/" + name);
}

namespace
{

std::string crlf(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

} // namespace

std::string productPage(const std::vector<std::string> &products, const char *separator)
{
    std::string page = "<HTML>\r\n<HEAD><TITLE>Products for the state</TITLE></HEAD>\r\n<BODY BGCOLOR=\"#FFFFFF\">\r\n";
    for (const auto &text : products)
        page += "<PRE>\r\n" + crlf(text) + "</PRE>" + separator + "\r\n";
    return page + "</BODY>\r\n</HTML>\r\n";
}

} // namespace nimbreltest
