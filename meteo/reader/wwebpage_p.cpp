#include "meteo/reader/wwebpage_p.h"

#include "corekit/lex.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <pthread.h>
#include <string_view>
#include <utility>

using namespace corekit;

namespace meteo
{

#ifndef NIMBREL_VERSION
#error "NIMBREL_VERSION must name the program's version"
#endif

static_assert(CURL_ERROR_SIZE == 256, "the page's error buffer is sized for curl's messages");

// The state curl's callbacks work on while open() runs.
struct WWebPage::Transfer {
    static std::size_t receive(char *data, std::size_t size, std::size_t count, void *user);
    static int progress(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    static std::size_t header(char *data, std::size_t size, std::size_t count, void *user);

    CURL *handle;
    std::string &body;
    std::string &problem;
    Headers &headers;
    const std::atomic<bool> *abort;
    std::size_t maxSize;
    bool tooLarge = false;
};

namespace
{

constexpr std::string_view PROGRAM = "Nimbrel/" NIMBREL_VERSION;
// Longer than any address a person types; a longer text is not one.
constexpr std::size_t LONGEST_CONTACT = 254;

// The characters RFC 5322 allows in the local part of an address, besides letters and digits; the parentheses of
// a comment, blanks, quotes and control characters are not among them, so a contact cannot break the header.
bool isLocalCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c))
        || std::string_view(".!#$%&'*+/=?^_`{|}~-").find(c) != std::string_view::npos;
}

bool isDomainCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
}

struct SlistDeleter {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

bool initCurl()
{
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return ready;
}

// Blocks SIGPIPE on the calling thread while a transfer runs: with CURLOPT_NOSIGNAL curl does not ignore it
// itself, and a write to a connection the server has closed must not end the program. A SIGPIPE raised meanwhile
// is taken off the thread before the old mask returns.
class SigpipeBlock
{
public:
    SigpipeBlock()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        m_wasPending = pending();
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_old);
    }
    ~SigpipeBlock()
    {
        if (!m_wasPending && pending()) {
            const timespec none{};
            sigtimedwait(&m_pipe, nullptr, &none);
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    SigpipeBlock(const SigpipeBlock &) = delete;
    SigpipeBlock &operator=(const SigpipeBlock &) = delete;

private:
    static bool pending()
    {
        sigset_t set;
        sigemptyset(&set);
        return sigpending(&set) == 0 && sigismember(&set, SIGPIPE) == 1;
    }

    sigset_t m_pipe;
    sigset_t m_old;
    bool m_wasPending;
};

// The answer's headers that are kept, in lower case.
constexpr std::string_view KEPT_HEADERS[] = {"etag", "last-modified", "cache-control", "retry-after"};

// The caches are asked to stand aside (a conditional request then reaches the server, which answers 304 itself),
// then the caller's own headers follow. Null when memory runs out.
curl_slist *requestHeaders(const std::vector<std::string> &extra, const std::vector<std::string> &validators)
{
    curl_slist *list = curl_slist_append(nullptr, "Cache-Control: no-cache");
    curl_slist *last = list ? curl_slist_append(list, "Pragma: no-cache") : nullptr;
    for (const auto *headers : {&extra, &validators})
        for (auto header = headers->begin(); last && header != headers->end(); ++header)
            last = curl_slist_append(list, header->c_str());
    if (!last)
        curl_slist_free_all(list);
    return last ? list : nullptr;
}

// A line feed ends a line and a tab is a blank; no other control character means anything in a text, and a NUL
// would end it early where it is copied as a C string.
bool isDropped(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7f;
}

std::string withoutDropped(std::string_view text)
{
    std::string clean(text);
    std::erase_if(clean, [](char c) { return isDropped(c) || c == '\n'; });
    return clean;
}

std::string lowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

std::string_view trimmedBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The kind of failure of a transfer that brought no answer.
WFailure::Kind transferFailure(int code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return WFailure::Kind::HostNotFound;
    case CURLE_OPERATION_TIMEDOUT:
        return WFailure::Kind::TimedOut;
    case CURLE_ABORTED_BY_CALLBACK:
        return WFailure::Kind::Aborted;
    default:
        return WFailure::Kind::Connect;
    }
}

template<typename T>
bool set(CURL *handle, CURLoption option, T value)
{
    return curl_easy_setopt(handle, option, value) == CURLE_OK;
}

} // namespace

std::size_t WWebPage::Transfer::receive(char *data, std::size_t size, std::size_t count, void *user)
{
    auto &transfer = *static_cast<Transfer *>(user);
    const std::size_t bytes = size * count;
    long status = 0;
    if (curl_easy_getinfo(transfer.handle, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK)
        return CURL_WRITEFUNC_ERROR;
    // A page with another status is refused anyway: only the start of its body is kept, for the problem's title.
    if (status != 200) {
        const std::size_t room = MAX_PROBLEM_SIZE - transfer.problem.size();
        transfer.problem.append(data, bytes < room ? bytes : room);
        return bytes <= room ? bytes : CURL_WRITEFUNC_ERROR;
    }
    if (bytes > transfer.maxSize - transfer.body.size()) {
        transfer.tooLarge = true;
        return CURL_WRITEFUNC_ERROR;
    }
    transfer.body.append(data, bytes);
    return bytes;
}

int WWebPage::Transfer::progress(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto &transfer = *static_cast<const Transfer *>(user);
    return transfer.abort && transfer.abort->load() ? 1 : 0;
}

// "ETag: \"a1b2\"\r\n". A status line ("HTTP/1.1 200 OK") starts the headers of the next answer: only the last
// answer's count.
std::size_t WWebPage::Transfer::header(char *data, std::size_t size, std::size_t count, void *user)
{
    auto &headers = static_cast<Transfer *>(user)->headers;
    const std::string_view line(data, size * count);
    if (line.starts_with("HTTP/"))
        headers.clear();
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return size * count;
    const std::string name = lowerCase(trimmedBlanks(line.substr(0, colon)));
    if (std::find(std::begin(KEPT_HEADERS), std::end(KEPT_HEADERS), name) != std::end(KEPT_HEADERS))
        headers.emplace_back(name, withoutDropped(trimmedBlanks(line.substr(colon + 1))));
    return size * count;
}

void WWebPage::HandleDeleter::operator()(void *handle) const
{
    curl_easy_cleanup(static_cast<CURL *>(handle));
}

WWebPage::WWebPage(bool useProxy, const LString &proxyLocation, const std::atomic<bool> *abort)
    : m_handle(initCurl() ? curl_easy_init() : nullptr)
    , m_useProxy(useProxy)
    , m_proxyLocation(proxyLocation)
    , m_abort(abort)
    , m_userAgent(PROGRAM)
{
}

WWebPage::~WWebPage() = default;

bool isContact(std::string_view text)
{
    const std::size_t at = text.find('@');
    if (text.size() > LONGEST_CONTACT || at == 0 || at == std::string_view::npos)
        return false;
    const std::string_view local = text.substr(0, at);
    const std::string_view domain = text.substr(at + 1);
    return std::all_of(local.begin(), local.end(), isLocalCharacter)
        && std::all_of(domain.begin(), domain.end(), isDomainCharacter) && domain.find('.') != std::string_view::npos
        && !domain.starts_with('.') && !domain.ends_with('.') && !domain.starts_with('-');
}

std::string userAgent(std::string_view contact)
{
    std::string agent(PROGRAM);
    if (isContact(contact))
        agent.append(" (").append(contact).append(")");
    return agent;
}

void WWebPage::setContact(std::string_view contact)
{
    m_userAgent = userAgent(contact);
}

void WWebPage::addHeader(const char *header)
{
    m_headers.emplace_back(header);
}

void WWebPage::setValidators(const std::string &etag, const std::string &lastModified)
{
    m_validators.clear();
    if (!etag.empty())
        m_validators.push_back("If-None-Match: " + withoutDropped(etag));
    if (!lastModified.empty())
        m_validators.push_back("If-Modified-Since: " + withoutDropped(lastModified));
    m_conditional = !m_validators.empty();
}

std::string WWebPage::answerHeader(const std::string &lowerName) const
{
    const auto found = std::find_if(m_answerHeaders.begin(), m_answerHeaders.end(),
        [&lowerName](const auto &header) { return header.first == lowerName; });
    return found == m_answerHeaders.end() ? std::string() : found->second;
}

int WWebPage::open(const LString &address)
{
    close();
    m_error[0] = '\0';
    m_status = 0;
    m_failure = WFailure();
    m_problem.clear();
    m_answerHeaders.clear();
    if (!m_handle)
        return refuse("cannot create a transfer");
    if (m_useProxy && m_proxyLocation.isEmpty())
        return refuse("a proxy is to be used but none is named");
    if (m_abort && m_abort->load())
        return refuse("aborted", WFailure::Kind::Aborted);
    const std::unique_ptr<curl_slist, SlistDeleter> headers(requestHeaders(m_headers, m_validators));
    if (!headers)
        return refuse("out of memory");
    Transfer transfer{static_cast<CURL *>(m_handle.get()), m_body, m_problem, m_answerHeaders, m_abort, m_maxSize};
    if (!configure(address, transfer, headers.get()))
        return refuse(m_error[0] ? m_error : "cannot set up the transfer");
    const SigpipeBlock noSigpipe;
    return conclude(curl_easy_perform(transfer.handle), transfer);
}

int WWebPage::readLine(LString &line)
{
    if (!m_opened)
        return L_ERROR;
    char piece[MAX_PIECE];
    std::size_t count = 0;
    while (m_position < m_body.size() && count < MAX_PIECE) {
        const char c = m_body[m_position++];
        if (isDropped(c))
            continue;
        piece[count++] = c;
        if (c == '\n')
            break;
    }
    if (count == 0)
        return L_INPUT;
    line.assign(piece, count);
    return L_OK;
}

int WWebPage::takeBody(std::string &body)
{
    if (!m_opened)
        return L_ERROR;
    body = std::move(m_body);
    body.erase(0, m_position);
    std::erase_if(body, isDropped);
    close();
    return L_OK;
}

void WWebPage::close()
{
    std::string().swap(m_body);
    m_position = 0;
    m_opened = false;
}

bool WWebPage::configure(const LString &address, Transfer &transfer, curl_slist *headers)
{
    CURL *handle = transfer.handle;
    bool ok = set(handle, CURLOPT_ERRORBUFFER, m_error) && set(handle, CURLOPT_URL, static_cast<const char *>(address))
        && set(handle, CURLOPT_PROTOCOLS_STR, "http,https") && set(handle, CURLOPT_HTTPGET, 1L)
        && set(handle, CURLOPT_FOLLOWLOCATION, 0L) && set(handle, CURLOPT_HTTPHEADER, headers)
        && set(handle, CURLOPT_USERAGENT, m_userAgent.c_str()) && set(handle, CURLOPT_NOSIGNAL, 1L)
        && set(handle, CURLOPT_CONNECTTIMEOUT, m_limits.connectSeconds)
        && set(handle, CURLOPT_TIMEOUT, m_limits.wholeSeconds)
        && set(handle, CURLOPT_LOW_SPEED_LIMIT, m_limits.slowBytesPerSecond)
        && set(handle, CURLOPT_LOW_SPEED_TIME, m_limits.slowSeconds)
        && set(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(m_maxSize))
        && set(handle, CURLOPT_SSL_VERIFYPEER, 1L) && set(handle, CURLOPT_SSL_VERIFYHOST, 2L)
        && set(handle, CURLOPT_WRITEFUNCTION, Transfer::receive) && set(handle, CURLOPT_WRITEDATA, &transfer)
        && set(handle, CURLOPT_NOPROGRESS, 0L) && set(handle, CURLOPT_XFERINFOFUNCTION, Transfer::progress)
        && set(handle, CURLOPT_XFERINFODATA, &transfer) && set(handle, CURLOPT_HEADERFUNCTION, Transfer::header)
        && set(handle, CURLOPT_HEADERDATA, &transfer);
    // The named proxy goes without a bypass list, whatever no_proxy says.
    if (ok && m_useProxy)
        ok = set(handle, CURLOPT_PROXY, static_cast<const char *>(m_proxyLocation)) && set(handle, CURLOPT_NOPROXY, "");
    return ok;
}

int WWebPage::conclude(int code, const Transfer &transfer)
{
    long status = 0;
    if (curl_easy_getinfo(transfer.handle, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK)
        status = 0;
    m_status = status;
    if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
        char reason[64];
        std::snprintf(reason, sizeof reason, "the page is larger than %zu bytes", m_maxSize);
        return refuse(reason, WFailure::Kind::BadAnswer);
    }
    if (code != CURLE_OK && (status == 0 || status == 200))
        return refuse(m_error[0] ? m_error : curl_easy_strerror(static_cast<CURLcode>(code)), transferFailure(code));
    if (notModified()) {
        m_opened = true;
        return L_OK;
    }
    if (status != 200) {
        char reason[32];
        std::snprintf(reason, sizeof reason, "HTTP status %ld", status);
        refuse(reason, status == 404 ? WFailure::Kind::NotFound : WFailure::Kind::Status);
        // For a status, the text is the server's to give (see WFailure::text).
        m_failure.text.clear();
        return L_CONNECT;
    }
    m_opened = true;
    return L_OK;
}

int WWebPage::refuse(const char *reason, WFailure::Kind kind)
{
    if (reason != m_error)
        std::snprintf(m_error, sizeof m_error, "%s", reason);
    m_failure = {kind, m_status, m_error};
    close();
    return L_CONNECT;
}

} // namespace meteo
