#include "platform/curl_url_service.h"

#include "platform/body_store.h"
#include "platform/curl_request_setup.h"
#include "platform/files.h"
#include "platform/host_affinity.h"
#include "platform/spool_placement.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <strings.h>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zorone::platform {

namespace {

constexpr CURLcode kCancelledCode = CURLE_ABORTED_BY_CALLBACK;
// How long an idle worker sleeps when nothing wakes it; Open, Cancel and the
// destructor always wake it at once.
constexpr int kPollMilliseconds = 10000;
// The extended attribute a stored file keeps its ETag in, and the longest
// ETag kept (a longer one is not worth a conditional request).
constexpr const char* kEtagAttribute = "user.zorone.etag";
constexpr std::size_t kEtagMaxBytes = 512;
// A body that is complete within this time of its first byte is told only by
// its stop, which carries its size: most bodies are, and a notification each
// would wake the user-interface thread once more per file.
constexpr std::chrono::milliseconds kQuietProgress {20};
// A body up to this size is held in memory until it is complete and then
// stored by the body store; a larger one streams to its spool file on the
// worker, so memory stays bounded whatever the size.
constexpr std::size_t kHeldBodyMax = 64 * 1024;

using Clock = std::chrono::steady_clock;

// An ETag fit to be sent back in a header: printable ASCII, no line break.
bool IsSendableEtag(const std::string& etag)
{
    return !etag.empty() && std::all_of(etag.begin(), etag.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}


// State that posted notifications reach; it outlives the service so that a
// task still waiting in the loop after the service is gone finds it and
// does nothing.
struct Shared {
    std::atomic<bool> alive { true };
    std::atomic<int> active { 0 };
};

// One transfer as its notifications see it. total and dataPending are
// written by the worker; the rest belongs to the thread running the loop.
struct Notifier {
    explicit Notifier(TransferEvents* e)
        : events(e)
    {
    }
    TransferEvents* events;
    std::atomic<std::uint64_t> total { 0 };
    std::atomic<bool> dataPending { false };
    bool firstSent = false;
    bool stopped = false;
    std::uint64_t delivered = 0;
};

std::string SystemError(const std::string& what, const std::string& path, int error)
{
    return what + " " + path + ": " + std::strerror(error != 0 ? error : EIO);
}

// Whether a body headed for path is a compressed file. Such a file is stored
// as the server sent it: servers often label a .tar.gz "Content-Encoding:
// gzip", and decoding it would store the tar under the .gz name.
bool IsCompressedFileName(const std::string& path)
{
    static constexpr const char* kSuffixes[] = {".gz", ".tgz", ".bz2", ".xz", ".zst", ".zip", ".7z", ".lz", ".lzma"};
    for (const char* suffix : kSuffixes) {
        const size_t n = std::strlen(suffix);
        if (path.size() >= n && strcasecmp(path.c_str() + path.size() - n, suffix) == 0)
            return true;
    }
    return false;
}

bool IsHttpScheme(CURL* easy)
{
    const char* scheme = nullptr;
    curl_easy_getinfo(easy, CURLINFO_SCHEME, &scheme);
    return scheme && strncasecmp(scheme, "http", 4) == 0;
}

// One worker thread driving one multi handle. The service runs several, so
// that a slow file system (creating a file can take milliseconds on a busy
// disk) holds up only the transfers of one worker, not every transfer.
struct Worker {
    Worker(MessageLoop& l, CurlUrlServiceOptions o, std::shared_ptr<Shared> s, int i, CURLSH* sh, HostAffinity& a,
           BodyStore& b)
        : loop(l)
        , options(std::move(o))
        , shared(std::move(s))
        , index(i)
        , share(sh)
        , affinity(a)
        , store(b)
    {
        multi = curl_multi_init();
        // Idle connections kept for reuse; together with maxActive this
        // bounds the sockets the worker holds.
        curl_multi_setopt(multi, CURLMOPT_MAXCONNECTS, static_cast<long>(options.maxActive));
        // Transfers to one HTTP/2 server share one connection.
        curl_multi_setopt(multi, CURLMOPT_PIPELINING, CURLPIPE_MULTIPLEX);
        thread = std::thread([this] { Run(); });
    }
    ~Worker()
    {
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        curl_multi_wakeup(multi);
        thread.join();
        curl_multi_cleanup(multi);
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    using Handle = UrlService::Handle;


    // One transfer as the worker sees it.
    struct Transfer {
        Transfer() = default;
        Transfer(const Transfer&) = delete;
        Transfer& operator=(const Transfer&) = delete;
        ~Transfer()
        {
            if (easy)
                curl_easy_cleanup(easy);
            curl_slist_free_all(headers);
        }

        Handle handle = 0;
        std::string url;
        std::string spoolPath;
        std::string targetPath;
        std::optional<SpoolPlacement> placement;
        std::shared_ptr<Notifier> notifier;
        // Released after the easy handle, which uses its header list.
        std::shared_ptr<const CurlRequestSetup> request;
        Worker* owner = nullptr;
        CURL* easy = nullptr;
        files::File file;
        // The body while it is small enough to stay in memory and no file
        // is open for it.
        std::string held;
        std::uint64_t written = 0;
        std::uint64_t lastRound = 0; // the worker's round of the last bytes
        Clock::time_point firstByteAt {};
        // Bytes arrived within the quiet time and not yet told.
        bool progressUntold = false;
        // Set at the first body byte: an HTTP error answer's body (an error
        // page) is read off the connection, which stays usable, but never
        // written.
        bool statusChecked = false;
        bool errorStatus = false;
        std::uint64_t discarded = 0; // bytes of an error answer's body
        std::string fileError;
        char errorBuffer[CURL_ERROR_SIZE] = {};
        OpenOptions openOptions;
        std::string hostKey;
        // Counted in the worker's hosts since its start.
        bool counted = false;
        // The request was made conditional on the file at targetPath.
        bool conditional = false;
        curl_slist* headers = nullptr;
    };

    // The transfers of one host on this worker, for the per-host cap and
    // pause (a host with either is pinned to one worker).
    struct HostUse {
        int running = 0;
        Clock::time_point lastStart {};
    };

    void Add(std::unique_ptr<Transfer> t);
    void RequestCancel(Handle handle);
    void Run();
    void TakeRequests();
    std::optional<Clock::time_point> StartQueued();
    std::optional<Clock::time_point> NotBefore(const Transfer& t, Clock::time_point now) const;
    void Start(std::unique_ptr<Transfer> t);
    bool Configure(Transfer& t);
    bool MakeConditional(Transfer& t);
    static void StampValidators(Transfer& t, TransferResult& r);
    void CollectDone();
    void CancelOne(Handle handle);
    void Finish(std::unique_ptr<Transfer> t, CURLcode code);
    // Store and what it calls run on the body store's threads as well as on
    // the worker, and touch nothing but the transfer.
    static void Store(Transfer& t, TransferResult& r);
    // Whether the transfer's answer is a body to keep at its target.
    static bool IsStorable(const Transfer& t, const TransferResult& r);
    static bool OpenSpool(Transfer& t, std::string& error);
    static bool WriteHeld(Transfer& t, std::string& error);
    static void Commit(Transfer& t, TransferResult& r);
    static void CommitUnnamed(Transfer& t, TransferResult& r);
    void Fail(std::unique_ptr<Transfer> t, CURLcode code, std::string text);
    static void PostStop(MessageLoop& loop, const std::shared_ptr<Shared>& shared,
                         const std::shared_ptr<Notifier>& n, TransferResult result);
    void NoteProgress(Transfer& t);
    std::optional<Clock::time_point> TellQuietProgress();
    void PostData(Transfer& t);
    void DropAll();

    static size_t OnWrite(char* data, size_t size, size_t count, void* user);

    MessageLoop& loop;
    const CurlUrlServiceOptions options;
    std::shared_ptr<Shared> shared;
    const int index;
    CURLSH* share;
    HostAffinity& affinity;
    BodyStore& store;
    CURLM* multi = nullptr;
    std::thread thread;

    std::mutex mutex; // guards the four members below
    std::deque<std::unique_ptr<Transfer>> incoming;
    std::vector<Handle> cancels;
    bool stopping = false;
    // The worker is waiting in (or about to enter) its poll and no wake-up
    // is on its way. Only then does a request wake it: a busy worker looks
    // for requests before it waits, and a wake-up costs a system call on
    // each side.
    bool polling = false;

    // The worker thread's own.
    // Rounds of the loop, and the transfers that received bytes in the
    // current one: while others are receiving, a finished body is worth
    // handing to the body store; alone, the hand-over only adds a thread
    // switch to the transfer's way.
    std::uint64_t round = 0;
    int receivingThisRound = 0;
    std::deque<std::unique_ptr<Transfer>> queued;
    std::unordered_map<Handle, std::unique_ptr<Transfer>> running;
    std::unordered_map<std::string, HostUse> hosts;
};

} // namespace

int DefaultWorkerCount()
{
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 2, 8);
}

std::string CaBundleFromEnvironment()
{
    for (const char* name : {"CURL_CA_BUNDLE", "SSL_CERT_FILE"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return {};
}

std::string EncodeUrlForTransfer(const std::string& url)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (const char ch : url) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 || c == ' ') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

struct CurlUrlService::Impl {
    std::shared_ptr<Shared> shared = std::make_shared<Shared>();
    std::unique_ptr<HostAffinity> affinity;
    // Outlives the workers, which hand it their bodies.
    std::unique_ptr<BodyStore> store;
    std::vector<std::unique_ptr<Worker>> workers;
    std::atomic<Handle> nextHandle {1};
    std::string defaultUserAgent;
    std::unique_ptr<CurlCookieJar> jar;
    std::mutex requestMutex; // guards request
    std::shared_ptr<const CurlRequestSetup> request;

    // A handle names its worker in its low byte, so Cancel finds it.
    static constexpr int kWorkerBits = 8;
    Worker& WorkerOf(Handle handle)
    {
        return *workers[(handle & ((Handle {1} << kWorkerBits) - 1)) % workers.size()];
    }
};

CurlUrlService::CurlUrlService(MessageLoop& loop, CurlUrlServiceOptions options)
    : m_impl(std::make_unique<Impl>())
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    m_impl->defaultUserAgent = options.userAgent;
    m_impl->jar = std::make_unique<CurlCookieJar>();
    m_impl->request = std::make_shared<CurlRequestSetup>(RequestOptions {}, options.userAgent, m_impl->jar->Share());
    // A cap below one would leave every transfer queued for ever. The cap is
    // shared out among the workers, so together they never run more.
    const int maxActive = std::max(options.maxActive, 1);
    const int count = std::clamp(options.workers, 1, std::min(maxActive, 1 << Impl::kWorkerBits));
    m_impl->affinity = std::make_unique<HostAffinity>(count);
    m_impl->store = std::make_unique<BodyStore>(BodyStore::Limits {});
    for (int i = 0; i < count; ++i) {
        CurlUrlServiceOptions o = options;
        o.maxActive = maxActive / count + (i < maxActive % count ? 1 : 0);
        m_impl->workers.push_back(std::make_unique<Worker>(loop, std::move(o), m_impl->shared, i,
                                                           m_impl->jar->Share(), *m_impl->affinity, *m_impl->store));
    }
}

CurlUrlService::~CurlUrlService()
{
    m_impl->shared->alive = false;
    m_impl->workers.clear();
    m_impl->store.reset();
    m_impl->request.reset();
    m_impl->jar.reset();
    curl_global_cleanup();
}

UrlService::Handle CurlUrlService::Open(const std::string& url, const std::string& spoolPath,
                                        const std::string& targetPath, const std::string& downloadFolder,
                                        TransferEvents* events)
{
    return Open(url, spoolPath, targetPath, downloadFolder, OpenOptions {}, events);
}

UrlService::Handle CurlUrlService::Open(const std::string& url, const std::string& spoolPath,
                                        const std::string& targetPath, const std::string& downloadFolder,
                                        const OpenOptions& options, TransferEvents* events)
{
    auto t = std::make_unique<Worker::Transfer>();
    t->hostKey = HostKeyOf(EncodeUrlForTransfer(url));
    // Over https the server may speak HTTP/2, which carries every transfer
    // to the host over one connection of one worker.
    const bool pinned = options.perHostMax > 0 || options.hostPause.count() > 0
        || t->hostKey.compare(0, 8, "https://") == 0;
    const int index = m_impl->affinity->Choose(t->hostKey, pinned);
    Worker& worker = *m_impl->workers[static_cast<size_t>(index)];
    const Handle handle = (m_impl->nextHandle++ << Impl::kWorkerBits) | static_cast<Handle>(index);
    t->handle = handle;
    t->url = url;
    t->spoolPath = spoolPath;
    t->targetPath = targetPath;
    t->placement.emplace(spoolPath, targetPath, downloadFolder, true);
    t->notifier = std::make_shared<Notifier>(events);
    t->owner = &worker;
    {
        std::lock_guard lock(m_impl->requestMutex);
        t->request = m_impl->request;
    }
    t->openOptions = options;
    ++m_impl->shared->active;
    worker.Add(std::move(t));
    return handle;
}

void CurlUrlService::Cancel(Handle handle)
{
    m_impl->WorkerOf(handle).RequestCancel(handle);
}

int CurlUrlService::ActiveCount() const
{
    return m_impl->shared->active;
}

std::string CurlUrlService::SetRequestOptions(const RequestOptions& options)
{
    if (std::string why = CheckRequestOptions(options); !why.empty())
        return why;
    if (!options.cookieFile.empty())
        if (std::string why = m_impl->jar->Load(options.cookieFile); !why.empty())
            return why;
    auto setup = std::make_shared<const CurlRequestSetup>(options, m_impl->defaultUserAgent, m_impl->jar->Share());
    std::lock_guard lock(m_impl->requestMutex);
    m_impl->request = std::move(setup);
    return {};
}

std::string CurlUrlService::SaveCookies(const std::string& path)
{
    return m_impl->jar->Save(path);
}

void Worker::Add(std::unique_ptr<Transfer> t)
{
    bool wake = false;
    {
        std::lock_guard lock(mutex);
        incoming.push_back(std::move(t));
        wake = std::exchange(polling, false);
    }
    if (wake)
        curl_multi_wakeup(multi);
}

void Worker::RequestCancel(Handle handle)
{
    bool wake = false;
    {
        std::lock_guard lock(mutex);
        cancels.push_back(handle);
        wake = std::exchange(polling, false);
    }
    if (wake)
        curl_multi_wakeup(multi);
}

void Worker::Run()
{
    for (;;) {
        {
            std::lock_guard lock(mutex);
            // Back from the poll (or not yet in it): busy until it waits again.
            polling = false;
            if (stopping)
                break;
        }
        TakeRequests();
        std::optional<Clock::time_point> due = StartQueued();
        int stillRunning = 0;
        ++round;
        receivingThisRound = 0;
        curl_multi_perform(multi, &stillRunning);
        CollectDone();
        // Transfers that ended free their slots and their hosts' turns.
        if (!queued.empty() && running.size() < static_cast<size_t>(options.maxActive))
            due = StartQueued();
        if (const auto progressDue = TellQuietProgress())
            due = due ? std::min(*due, *progressDue) : *progressDue;
        // A transfer waiting for its host's pause, or progress still untold,
        // sets the wake-up; nothing else needs one, as libcurl's own timers
        // cut the poll short.
        int timeout = kPollMilliseconds;
        if (due) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now()).count();
            timeout = static_cast<int>(std::clamp<long long>(wait, 0, kPollMilliseconds));
        }
        {
            std::lock_guard lock(mutex);
            // Requests that came while the worker was busy woke nobody.
            if (!incoming.empty() || !cancels.empty() || stopping)
                timeout = 0;
            polling = timeout > 0;
        }
        curl_multi_poll(multi, nullptr, 0, timeout, nullptr);
    }
    DropAll();
}

void Worker::TakeRequests()
{
    std::vector<Handle> toCancel;
    {
        std::lock_guard lock(mutex);
        // Opens first: a cancel may name a transfer opened just before it.
        for (auto& t : incoming)
            queued.push_back(std::move(t));
        incoming.clear();
        toCancel.swap(cancels);
    }
    for (const Handle h : toCancel)
        CancelOne(h);
}

std::optional<Clock::time_point> Worker::StartQueued()
{
    std::optional<Clock::time_point> due;
    const Clock::time_point now = Clock::now();
    for (auto it = queued.begin(); it != queued.end() && running.size() < static_cast<size_t>(options.maxActive);) {
        if (const auto notBefore = NotBefore(**it, now)) {
            // Held back by its host; a later transfer to another host may go.
            if (*notBefore != Clock::time_point::max())
                due = due ? std::min(*due, *notBefore) : *notBefore;
            ++it;
            continue;
        }
        auto t = std::move(*it);
        it = queued.erase(it);
        Start(std::move(t));
    }
    return due;
}

std::optional<Clock::time_point> Worker::NotBefore(const Transfer& t, Clock::time_point now) const
{
    const OpenOptions& o = t.openOptions;
    if (o.perHostMax <= 0 && o.hostPause.count() <= 0)
        return std::nullopt;
    const auto it = hosts.find(t.hostKey);
    if (it == hosts.end())
        return std::nullopt;
    // A full host waits for a transfer to end, which wakes the worker.
    if (o.perHostMax > 0 && it->second.running >= o.perHostMax)
        return Clock::time_point::max();
    const Clock::time_point turn = it->second.lastStart + o.hostPause;
    if (o.hostPause.count() > 0 && turn > now)
        return turn;
    return std::nullopt;
}

void Worker::Start(std::unique_ptr<Transfer> t)
{
    // c_str() would silently cut the URL at an embedded zero byte and fetch
    // something else.
    if (t->url.find('\0') != std::string::npos) {
        Fail(std::move(t), CURLE_URL_MALFORMAT, "URL contains a zero byte");
        return;
    }
    t->easy = curl_easy_init();
    if (!t->easy || !Configure(*t)) {
        Fail(std::move(t), CURLE_OUT_OF_MEMORY, curl_easy_strerror(CURLE_OUT_OF_MEMORY));
        return;
    }
    const CURLMcode added = curl_multi_add_handle(multi, t->easy);
    if (added != CURLM_OK) {
        Fail(std::move(t), CURLE_FAILED_INIT, curl_multi_strerror(added));
        return;
    }
    HostUse& use = hosts[t->hostKey];
    ++use.running;
    use.lastStart = Clock::now();
    t->counted = true;
    const Handle h = t->handle;
    running.emplace(h, std::move(t));
}

bool Worker::Configure(Transfer& t)
{
    CURL* e = t.easy;
    const std::string url = EncodeUrlForTransfer(t.url);
    bool ok = curl_easy_setopt(e, CURLOPT_URL, url.c_str()) == CURLE_OK;
    // Restricting the schemes keeps links such as file:// or those of mail
    // protocols from reaching anything but the web.
    ok = ok && curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https,ftp") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_PRIVATE, &t) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Worker::OnWrite) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_WRITEDATA, &t) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t.errorBuffer) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_MAXREDIRS, options.maxRedirects) == CURLE_OK;
    // Empty: offer every encoding this libcurl can decode; bodies are stored
    // decoded, except compressed files, which are asked for and kept as they
    // are.
    if (IsCompressedFileName(t.targetPath))
        ok = ok && curl_easy_setopt(e, CURLOPT_HTTP_CONTENT_DECODING, 0L) == CURLE_OK;
    else
        ok = ok && curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "") == CURLE_OK;
    if (!options.caBundle.empty())
        ok = ok && curl_easy_setopt(e, CURLOPT_CAINFO, options.caBundle.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_USERAGENT, options.userAgent.c_str()) == CURLE_OK;
    if (t.request)
        ok = ok && t.request->Apply(e);
    ok = ok
        && curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeout.count()))
            == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, options.stallBytesPerSecond) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, static_cast<long>(options.stallTime.count())) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_TCP_KEEPALIVE, 1L) == CURLE_OK;
    if (!options.useProxyEnvironment)
        ok = ok && curl_easy_setopt(e, CURLOPT_PROXY, "") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_SHARE, share) == CURLE_OK;
    // HTTP/2 where the TLS handshake agrees on it, HTTP/1.1 otherwise. A
    // transfer to a host whose connection is still being set up waits for
    // it, so that HTTP/2 carries it too rather than a connection of its own.
    ok = ok && curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS)) == CURLE_OK;
    if (t.hostKey.compare(0, 8, "https://") == 0)
        ok = ok && curl_easy_setopt(e, CURLOPT_PIPEWAIT, 1L) == CURLE_OK;
    // Over ftp the time would cost a command per file.
    if (t.hostKey.compare(0, 4, "http") == 0)
        ok = ok && curl_easy_setopt(e, CURLOPT_FILETIME, 1L) == CURLE_OK;
    if (t.openOptions.onlyIfChanged)
        ok = ok && MakeConditional(t);
    return ok;
}

bool Worker::MakeConditional(Transfer& t)
{
    // Only a regular file: a folder or a missing file has nothing to compare.
    const files::Status st = files::GetStatus(t.targetPath);
    if (t.targetPath.empty() || !st.exists || !st.isRegular)
        return true;
    t.conditional = true;
    CURL* e = t.easy;
    bool ok = curl_easy_setopt(e, CURLOPT_TIMECONDITION, static_cast<long>(CURL_TIMECOND_IFMODSINCE)) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_TIMEVALUE_LARGE, static_cast<curl_off_t>(st.modified)) == CURLE_OK;
    const std::string etag = files::ReadAttribute(t.targetPath, kEtagAttribute, kEtagMaxBytes);
    if (IsSendableEtag(etag)) {
        // The header list replaces the crawl's own, which must still go out.
        const std::string line = "If-None-Match: " + etag;
        t.headers = t.request ? t.request->HeadersWith(line) : curl_slist_append(nullptr, line.c_str());
        ok = ok && t.headers && curl_easy_setopt(e, CURLOPT_HTTPHEADER, t.headers) == CURLE_OK;
    }
    return ok;
}

void Worker::StampValidators(Transfer& t, TransferResult& r)
{
    // Neither is essential: a file system without attributes, or a time the
    // file system refuses, leaves the body stored as it is.
    if (r.lastModified >= 0)
        t.file.SetModified(r.lastModified);
    if (IsSendableEtag(r.etag) && r.etag.size() <= kEtagMaxBytes)
        t.file.SetAttribute(kEtagAttribute, r.etag);
}

size_t Worker::OnWrite(char* data, size_t size, size_t count, void* user)
{
    auto& t = *static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (n == 0)
        return 0;
    if (!t.statusChecked) {
        t.statusChecked = true;
        long status = 0;
        curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &status);
        t.errorStatus = IsFailingStatus(status) && IsHttpScheme(t.easy);
    }
    if (t.errorStatus) {
        t.discarded += n;
        return n;
    }
    // Without a target the spool file is the caller's, and holds whatever
    // arrived even when the transfer fails.
    if (!t.file.IsOpen() && !t.targetPath.empty() && t.held.size() + n <= kHeldBodyMax) {
        t.held.append(data, n);
    } else {
        // Folders and file appear only now, so a transfer without a body
        // leaves nothing behind.
        if (!t.file.IsOpen() && !OpenSpool(t, t.fileError))
            return 0;
        errno = 0;
        if (!WriteHeld(t, t.fileError) || !t.file.Write(data, static_cast<std::int64_t>(n))) {
            if (t.fileError.empty())
                t.fileError = SystemError("cannot write", t.spoolPath, errno);
            return 0;
        }
    }
    if (t.written == 0)
        t.firstByteAt = Clock::now();
    if (t.lastRound != t.owner->round) {
        t.lastRound = t.owner->round;
        ++t.owner->receivingThisRound;
    }
    t.written += n;
    t.owner->NoteProgress(t);
    return n;
}

void Worker::NoteProgress(Transfer& t)
{
    if (Clock::now() - t.firstByteAt < kQuietProgress) {
        t.progressUntold = true;
        return;
    }
    t.progressUntold = false;
    PostData(t);
}

std::optional<Clock::time_point> Worker::TellQuietProgress()
{
    std::optional<Clock::time_point> due;
    const Clock::time_point now = Clock::now();
    for (auto& [handle, t] : running) {
        if (!t->progressUntold)
            continue;
        const Clock::time_point tellAt = t->firstByteAt + kQuietProgress;
        if (tellAt <= now) {
            t->progressUntold = false;
            PostData(*t);
        } else {
            due = due ? std::min(*due, tellAt) : tellAt;
        }
    }
    return due;
}

void Worker::PostData(Transfer& t)
{
    t.notifier->total = t.written;
    // At most one data notification waits per transfer; it reads the newest
    // total when it runs.
    if (t.notifier->dataPending.exchange(true))
        return;
    loop.PostTask([s = shared, n = t.notifier] {
        if (!s->alive || n->stopped)
            return;
        n->dataPending = false;
        const std::uint64_t total = n->total;
        if (n->firstSent && total == n->delivered)
            return;
        const unsigned flags = n->firstSent ? 0 : kFirstDataNotification;
        n->firstSent = true;
        n->delivered = total;
        if (n->events)
            n->events->OnDataAvailable(total, flags);
    });
}

void Worker::PostStop(MessageLoop& loop, const std::shared_ptr<Shared>& shared,
                      const std::shared_ptr<Notifier>& notifier, TransferResult result)
{
    loop.PostTask([s = shared, n = notifier, r = std::move(result)] {
        if (!s->alive)
            return;
        n->stopped = true;
        --s->active;
        if (n->events)
            n->events->OnStopBinding(r);
    });
}

void Worker::CollectDone()
{
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &left)) {
        if (msg->msg != CURLMSG_DONE)
            continue;
        Transfer* raw = nullptr;
        curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &raw);
        const CURLcode code = msg->data.result;
        auto it = running.find(raw->handle);
        auto t = std::move(it->second);
        running.erase(it);
        Finish(std::move(t), code);
    }
}

void Worker::Finish(std::unique_ptr<Transfer> t, CURLcode code)
{
    TransferResult r;
    r.code = code;
    if (code != CURLE_OK) {
        if (!t->fileError.empty())
            r.errorText = t->fileError;
        else if (t->errorBuffer[0] != '\0')
            r.errorText = t->errorBuffer;
        else
            r.errorText = curl_easy_strerror(code);
    }
    if (t->easy) {
        curl_multi_remove_handle(multi, t->easy);
        // For ftp the response code is the last FTP reply, not an HTTP status.
        if (IsHttpScheme(t->easy))
            curl_easy_getinfo(t->easy, CURLINFO_RESPONSE_CODE, &r.httpStatus);
        const char* text = nullptr;
        if (curl_easy_getinfo(t->easy, CURLINFO_EFFECTIVE_URL, &text) == CURLE_OK && text)
            r.finalUrl = text;
        text = nullptr;
        if (curl_easy_getinfo(t->easy, CURLINFO_CONTENT_TYPE, &text) == CURLE_OK && text)
            r.contentType = text;
        curl_off_t filetime = -1;
        if (curl_easy_getinfo(t->easy, CURLINFO_FILETIME_T, &filetime) == CURLE_OK)
            r.lastModified = filetime;
        curl_header* etag = nullptr;
        if (curl_easy_header(t->easy, "ETag", 0, CURLH_HEADER, -1, &etag) == CURLHE_OK && etag)
            r.etag = etag->value;
        // libcurl answers an unmet time condition itself (304) when the
        // server sent the whole body with an old Last-Modified.
        long unmet = 0;
        curl_easy_getinfo(t->easy, CURLINFO_CONDITION_UNMET, &unmet);
        r.notModified = t->conditional && r.code == CURLE_OK && (r.httpStatus == 304 || unmet != 0);
    }
    // The connection is idle again (or gone) before the stop is told, so
    // the next transfer to the host finds it.
    if (t->counted)
        --hosts[t->hostKey].running;
    affinity.Release(t->hostKey, index);
    r.bytes = t->errorStatus ? t->discarded : t->written;
    if (!IsStorable(*t, r) && !t->file.IsOpen()) {
        PostStop(loop, shared, t->notifier, std::move(r));
        return;
    }
    // The easy handle belongs to this thread; the rest of the transfer goes
    // to whichever thread stores it.
    if (t->easy) {
        curl_easy_cleanup(t->easy);
        t->easy = nullptr;
    }
    const std::size_t held = t->held.size();
    std::function<void()> job = [&l = loop, s = shared, t = std::shared_ptr<Transfer>(std::move(t)),
                                 r = std::move(r)]() mutable {
        Store(*t, r);
        PostStop(l, s, t->notifier, std::move(r));
    };
    if (receivingThisRound < 2 || !store.Submit(held, job))
        job();
}

bool Worker::IsStorable(const Transfer& t, const TransferResult& r)
{
    // A 304 that no condition asked for (a broken server, or a condition
    // in the user's own headers) fails too: storing its missing body would
    // replace the file with an empty one.
    return r.code == CURLE_OK && !IsFailingStatus(r.httpStatus) && !r.notModified && !t.targetPath.empty();
}

bool Worker::OpenSpool(Transfer& t, std::string& error)
{
    if (t.spoolPath.empty() || t.spoolPath.find('\0') != std::string::npos) {
        error = "invalid spool path";
        return false;
    }
    return t.placement->Open(t.file, error);
}

bool Worker::WriteHeld(Transfer& t, std::string& error)
{
    errno = 0;
    if (!t.held.empty() && !t.file.Write(t.held.data(), static_cast<std::int64_t>(t.held.size()))) {
        error = SystemError("cannot write", t.spoolPath, errno);
        return false;
    }
    std::string().swap(t.held);
    return true;
}

void Worker::Store(Transfer& t, TransferResult& r)
{
    const bool storable = IsStorable(t, r);
    // A complete empty body is an empty file, which replaces an old one as
    // any other body does. A body that cannot be put down reports no bytes,
    // as one whose spool file failed at its first byte.
    if (storable) {
        const bool put = (t.file.IsOpen() || OpenSpool(t, r.errorText)) && WriteHeld(t, r.errorText);
        if (!put) {
            r.code = CURLE_WRITE_ERROR;
            r.bytes = 0;
        }
    }
    // An unnamed body gets its name while it is still open; the file is
    // complete on disk before anyone hears of the stop.
    const bool spooled = t.file.IsOpen();
    const bool unnamed = t.file.IsUnnamed();
    if (spooled && storable && r.code == CURLE_OK)
        StampValidators(t, r);
    if (unnamed && storable && r.code == CURLE_OK)
        CommitUnnamed(t, r);
    errno = 0;
    if (!t.file.Close() && r.code == CURLE_OK) {
        r.code = CURLE_WRITE_ERROR;
        r.errorText = SystemError("cannot write", t.spoolPath, errno);
    }
    if (!unnamed && spooled && !t.targetPath.empty())
        Commit(t, r);
}

void Worker::CommitUnnamed(Transfer& t, TransferResult& r)
{
    r.committed = t.placement->CommitUnnamed(t.file, r.errorText);
}

void Worker::Commit(Transfer& t, TransferResult& r)
{
    // Done on the worker or the body store, so that file-system work never
    // holds up the user-interface thread; the rename replaces the old file
    // in one step.
    if (!IsStorable(t, r)) {
        t.placement->RemoveSpool();
        return;
    }
    r.committed = t.placement->CommitNamed(r.errorText);
}

void Worker::Fail(std::unique_ptr<Transfer> t, CURLcode code, std::string text)
{
    const std::size_t n = std::min(text.size(), sizeof t->errorBuffer - 1);
    std::memcpy(t->errorBuffer, text.data(), n);
    t->errorBuffer[n] = '\0';
    Finish(std::move(t), code);
}

void Worker::CancelOne(Handle handle)
{
    if (auto it = running.find(handle); it != running.end()) {
        auto t = std::move(it->second);
        running.erase(it);
        Fail(std::move(t), kCancelledCode, "cancelled");
        return;
    }
    for (auto it = queued.begin(); it != queued.end(); ++it) {
        if ((*it)->handle == handle) {
            auto t = std::move(*it);
            queued.erase(it);
            Fail(std::move(t), kCancelledCode, "cancelled");
            return;
        }
    }
}

void Worker::DropAll()
{
    for (auto& [handle, t] : running) {
        curl_multi_remove_handle(multi, t->easy);
        // A body that will never be complete must not stay behind.
        if (t->file.IsOpen() && !t->targetPath.empty()) {
            const bool named = !t->file.IsUnnamed();
            t->file.Close();
            if (named)
                t->placement->RemoveSpool();
        }
    }
    running.clear();
    queued.clear();
    std::lock_guard lock(mutex);
    incoming.clear();
}

} // namespace zorone::platform
