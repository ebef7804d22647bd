#include "listgen/decoder_pool.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/file_content.h"
#include "decoder/protocol.h"

extern char** environ;

namespace tabulon {

namespace {

using decoder::Answer;
using decoder::Status;
using Clock = std::chrono::steady_clock;

// Less would not start libvips with its loaders.
constexpr std::uint64_t kLeastDecoderMemory = 256ULL << 20;
// Loading libvips's hundred libraries and trying each format once.
constexpr std::chrono::seconds kStartTime{60};

// Reads exactly `size` bytes before `deadline`: 1 done, 0 the decoder is
// gone (or sent a descriptor), -1 out of time.
int readBefore(int channel, char* at, std::size_t size, Clock::time_point deadline) {
    while (size > 0) {
        // Checked first: a decoder that keeps sending never lets the wait below run out.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return -1;
        pollfd wait{channel, POLLIN, 0};
        const int ready =
            decoder::readableSoon(channel)
                ? 1
                : ::poll(&wait, 1, static_cast<int>(std::min<long long>(left.count(), 60 * 60 * 1000)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return -1;
        if (ready < 0)
            return 0;
        int fd = -1;
        const ssize_t got = decoder::receiveSome(channel, at, size, fd);
        if (fd >= 0) { // the decoder has nothing to hand over
            ::close(fd);
            return 0;
        }
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return 0;
        at += got;
        size -= static_cast<std::size_t>(got);
    }
    return 1;
}

// How many decoders of `memory` the available memory holds; at least one.
std::uint64_t roomFor(std::uint64_t memory) {
    const std::uint64_t available = availableMemory();
    return available == 0 ? ~0ULL : std::max<std::uint64_t>(available / memory, 1);
}

std::string mebibytes(std::uint64_t bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

} // namespace

std::uint64_t availableMemory() {
    FileReader reader;
    if (!reader.readHead("/proc/meminfo", 4096).ok())
        return 0;
    const std::string_view text = reader.data();
    const std::size_t at = text.find("MemAvailable:");
    if (at == std::string_view::npos)
        return 0;
    unsigned long long kib = 0;
    if (std::sscanf(std::string(text.substr(at + 13, 32)).c_str(), "%llu", &kib) != 1)
        return 0;
    return static_cast<std::uint64_t>(kib) << 10;
}

std::uint64_t decoderMemory(unsigned workers) {
    std::uint64_t memory = kDecoderMemory;
    if (const std::uint64_t available = availableMemory(); available > 0)
        memory = std::min(memory, available / std::max(workers, 1U));
    return std::max(memory, kLeastDecoderMemory);
}

DecoderPool::DecoderPool(std::string program, std::string module, DecoderLimits limits)
    : program_(std::move(program)), module_(std::move(module)), limits_(limits),
      memory_(limits.memory > 0 ? limits.memory : decoderMemory(limits.workers)),
      most_(std::max(1U, static_cast<unsigned>(std::min<std::uint64_t>(limits.workers, roomFor(memory_))))) {}

DecoderPool::~DecoderPool() {
    for (const std::unique_ptr<Worker>& worker : workers_)
        (void)endWorker(*worker, true);
}

std::string DecoderPool::spawn(Worker& worker) const {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return "cannot start the decoder: " + std::string(std::strerror(errno));
    UniqueFd mine(ends[0]);
    UniqueFd theirs(ends[1]);
    // Above the descriptors the child's actions name, so that none of them lands on it.
    if (theirs.get() <= decoder::kChannelFd) {
        theirs.reset(::fcntl(theirs.get(), F_DUPFD_CLOEXEC, decoder::kChannelFd + 1));
        if (!theirs)
            return "cannot start the decoder: " + std::string(std::strerror(errno));
    }
    std::vector<std::string> args = {program_, module_};
    if (limits_.unsafe)
        args.emplace_back(decoder::kUnsafeArgument);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    // Its standard output is the list's; it writes nothing there.
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&files, theirs.get(), decoder::kChannelFd);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const int error = ::posix_spawn(&worker.pid, program_.c_str(), &files, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        worker.pid = -1;
        return program_ + ": " + std::strerror(error);
    }
    theirs.reset();
    worker.channel = std::move(mine);
    // Set before it reads a picture: its own start is bounded by what it inherited.
    rlimit bound{};
    bool bounded = ::prlimit(worker.pid, RLIMIT_AS, nullptr, &bound) == 0;
    if (bounded) {
        bound.rlim_cur = std::min<rlim_t>(bound.rlim_cur, memory_); // never above what it inherited
        bounded = ::prlimit(worker.pid, RLIMIT_AS, &bound, nullptr) == 0;
    }
    if (!bounded) {
        const int why = errno;
        (void)endWorker(worker, true);
        return "cannot bound the decoder's memory: " + std::string(std::strerror(why));
    }
    Answer hello{};
    const int got = readBefore(worker.channel.get(), reinterpret_cast<char*>(&hello), sizeof hello,
                               Clock::now() + kStartTime);
    std::string text(got == 1 && hello.textSize <= 4096 ? hello.textSize : 0, '\0');
    if (got == 1 && hello.status == Status::Ready)
        return {};
    const bool explained =
        got == 1 && hello.textSize <= 4096 && hello.dataSize == 0 &&
        readBefore(worker.channel.get(), text.data(), text.size(), Clock::now() + kStartTime) == 1;
    (void)endWorker(worker, true);
    if (explained && hello.status == Status::NoSandbox)
        return std::string(kNoSandbox) + text;
    if (explained && hello.status == Status::Failed && !text.empty())
        return text;
    return program_ + (got == -1 ? ": did not start in time" : ": ended as it started");
}

int DecoderPool::endWorker(Worker& worker, bool kill) {
    worker.channel.reset();
    if (worker.pid < 0)
        return 0;
    int status = 0;
    // Gone or going: its channel closed. A decoder that still runs is killed.
    pid_t ended = 0;
    for (int tries = 0; !kill && tries < 100 && (ended = ::waitpid(worker.pid, &status, WNOHANG)) == 0;
         ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (ended == 0) {
        ::kill(worker.pid, SIGKILL);
        while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    worker.pid = -1;
    return !kill && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

Result<void, std::string> DecoderPool::start() {
    const auto [index, worker] = acquire(-1);
    const std::string failed = worker->pid < 0 ? spawn(*worker) : std::string();
    release(*worker, !failed.empty());
    if (!failed.empty())
        return failed;
    return {};
}

std::pair<int, DecoderPool::Worker*> DecoderPool::acquire(int preferred) {
    std::unique_lock<std::mutex> hold(lock_);
    const auto take = [this](std::size_t index) {
        workers_[index]->busy = true;
        return std::pair<int, Worker*>(static_cast<int>(index), workers_[index].get());
    };
    for (;;) {
        if (preferred >= 0 && static_cast<std::size_t>(preferred) < workers_.size() &&
            !workers_[static_cast<std::size_t>(preferred)]->busy &&
            workers_[static_cast<std::size_t>(preferred)]->pid >= 0)
            return take(static_cast<std::size_t>(preferred));
        for (std::size_t i = 0; i < workers_.size(); ++i) {
            if (!workers_[i]->busy && workers_[i]->pid >= 0)
                return take(i);
        }
        // A new decoder, or one started again in the place of one that died.
        for (std::size_t i = 0; i < workers_.size(); ++i) {
            if (!workers_[i]->busy)
                return take(i);
        }
        if (workers_.size() < most_) {
            workers_.push_back(std::make_unique<Worker>());
            return take(workers_.size() - 1);
        }
        freed_.wait(hold);
    }
}

void DecoderPool::release(Worker& worker, bool dead) {
    if (dead)
        (void)endWorker(worker, true);
    {
        const std::lock_guard<std::mutex> hold(lock_);
        worker.busy = false;
    }
    freed_.notify_one();
}

Result<DecoderAnswer, DecoderTrouble> DecoderPool::ask(int fd, const void* request, std::size_t size,
                                                       std::string_view text, int& preferred) {
    const auto [index, worker] = acquire(preferred);
    preferred = index;
    if (worker->pid < 0) {
        if (std::string failed = spawn(*worker); !failed.empty()) {
            release(*worker, true);
            return DecoderTrouble{std::move(failed), false};
        }
    }
    bool delivered = false;
    Result<DecoderAnswer, DecoderTrouble> answer = exchange(*worker, fd, request, size, text, delivered);
    // One that ended while it waited (killed from outside) is no fault of this picture.
    if (!delivered) {
        (void)endWorker(*worker, true);
        if (std::string failed = spawn(*worker); !failed.empty()) {
            release(*worker, true);
            return DecoderTrouble{std::move(failed), false};
        }
        answer = exchange(*worker, fd, request, size, text, delivered);
    }
    release(*worker, !answer.ok());
    return answer;
}

Result<DecoderAnswer, DecoderTrouble> DecoderPool::exchange(Worker& worker, int fd, const void* request,
                                                            std::size_t size, std::string_view text,
                                                            bool& delivered) const {
    const Clock::time_point deadline = Clock::now() + limits_.time;
    const int channel = worker.channel.get();
    Answer head{};
    delivered = decoder::sendAll(channel, request, size, fd);
    if (!delivered)
        return DecoderTrouble{"the decoder was gone", false};
    int got = decoder::sendAll(channel, text.data(), text.size())
                  ? readBefore(channel, reinterpret_cast<char*>(&head), sizeof head, deadline)
                  : 0;
    DecoderAnswer answer;
    const bool known =
        head.status == Status::Done || head.status == Status::Damaged || head.status == Status::Failed;
    if (got == 1 && known && head.textSize <= decoder::kMaxAnswerText &&
        head.dataSize <= decoder::kMaxAnswerData) {
        answer.status = static_cast<int>(head.status);
        answer.width = head.width;
        answer.height = head.height;
        try {
            answer.text.resize(head.textSize);
            answer.data.resize(head.dataSize);
        } catch (const std::bad_alloc&) {
            return DecoderTrouble{"its answer did not fit in memory", true};
        }
        got = readBefore(channel, answer.text.data(), answer.text.size(), deadline);
        if (got == 1)
            got = readBefore(channel, answer.data.data(), answer.data.size(), deadline);
        if (got == 1)
            return answer;
    }
    if (got == -1) {
        (void)endWorker(worker, true);
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limits_.time).count();
        return DecoderTrouble{"the decoder took longer than " + std::to_string(seconds) + " s", true};
    }
    if (got == 1 && head.status == Status::OutOfMemory) {
        (void)endWorker(worker, true);
        return DecoderTrouble{"the decoder needed more than " + mebibytes(memory_), true};
    }
    if (got == 1) {
        (void)endWorker(worker, true);
        return DecoderTrouble{"the decoder answered nonsense", true};
    }
    const int signal = endWorker(worker, false);
    return DecoderTrouble{
        signal == SIGSYS ? "the decoder tried what its sandbox forbids" : "the decoder crashed", true};
}

} // namespace tabulon
