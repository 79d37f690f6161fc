#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace meteo
{

class WApiClient;

// The text products of the web service: which is an office's newest of a type, and their texts. A product's text
// never changes, so texts are kept by product id and fetched once.
class WApiProducts
{
public:
    // Enough for the newest product of each kind the reader shows, and the forecast's next newest.
    static constexpr std::size_t KEPT_TEXTS = 8;

    // The id of the office's newest product of the type ("ZFP", "AFD"), by its issuance time among the first few
    // of the office's list; empty when the office has issued none lately. L_OK, L_CONNECT when the list cannot be
    // had, or L_FORMAT when it cannot be read.
    int newest(WApiClient &client, const char *type, const std::string &office, std::string &id);
    // The ids of the office's products of the type from its full list, newest first.
    int listed(WApiClient &client, const char *type, const std::string &office, std::vector<std::string> &ids);
    // The product's text ("productText"), asked for only when the id is new. L_OK, L_CONNECT or L_FORMAT.
    int text(WApiClient &client, const std::string &id, std::string &text);

private:
    std::deque<std::pair<std::string, std::string>> m_texts;
};

// The text of a bulletin after its header lines (the WMO line 'FXUS65 KPSR 031817' and the product identifier
// 'AFDPSR') to its end, blank lines, "$$" and signatures included, leading blank lines left out; in the reader's
// layout ("Area Forecast Discussion\r\n National Weather Service Phoenix AZ\r\n ..."). Without a WMO line, the
// whole text.
std::string bulletinBody(std::string_view productText);

} // namespace meteo
