#include "SoundServer.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

void stop(pid_t pid)
{
    if (pid > 0 && ::kill(pid, SIGTERM) == 0) {
        ::kill(pid, SIGCONT); // a paused server takes its SIGTERM only once continued
        waitpid(pid, nullptr, 0);
    }
}

// Whether `path` came within a hundred polls `ms` apart.
bool waitFor(const std::string& path, int ms)
{
    for (int tries = 0; tries < 100 && !std::filesystem::exists(path); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return std::filesystem::exists(path);
}

} // namespace

// Runs `arguments` with the server's folders and session bus; the child dies
// with the test, and its errors go to a log named after it.
pid_t SoundServer::spawn(const std::vector<std::string>& arguments)
{
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv("HOME", dir.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        setenv("XDG_STATE_HOME", (dir + "/state").c_str(), 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + dir + "/bus").c_str(), 1);
        unsetenv("DISPLAY"); // nothing of the test's X server
        if (!socket.empty())
            setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        if (!freopen("/dev/null", "w", stdout) || !freopen((dir + "/" + arguments[0] + ".log").c_str(), "a", stderr))
            _exit(126);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

bool SoundServer::runPactl(const std::vector<std::string>& arguments)
{
    std::vector<std::string> command { "pactl" };
    command.insert(command.end(), arguments.begin(), arguments.end());
    const pid_t pid = spawn(command);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool SoundServer::startPulseAudio(bool logUnderruns, const std::string& sink)
{
    socket = dir + "/socket";
    serverArguments = { "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "-L", sink,
        "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket };
    if (logUnderruns)
        serverArguments.push_back("--log-level=debug");
    processes.push_back(spawn(serverArguments));
    why = "pulseaudio did not open its socket (pulseaudio.log)";
    return waitFor(socket, 50);
}

bool SoundServer::startPipeWire(bool withSessionManager)
{
    kind = Kind::PipeWire;
    // A desktop's graph runs in cycles of 1024 frames unless a player asks
    // for less, and the recorder asks for less. Shorter cycles, which a
    // desktop's hardware times, are missed now and then on a machine shared
    // with others (pipewire-pulse logs "client missed 1 wakeups" and the
    // sink plays a cycle of silence), whoever plays.
    std::filesystem::create_directories(dir + "/config/pipewire/pipewire.conf.d");
    std::ofstream(dir + "/config/pipewire/pipewire.conf.d/cycles.conf")
        << "context.properties = { default.clock.min-quantum = 1024 }\n";
    processes.push_back(
        spawn({ "dbus-daemon", "--session", "--address=unix:path=" + dir + "/bus", "--nofork", "--nopidfile" }));
    why = "dbus-daemon did not open its bus";
    if (!waitFor(dir + "/bus", 20))
        return false;
    processes.push_back(spawn({ "pipewire" }));
    why = "pipewire did not open its socket (pipewire.log)";
    if (!waitFor(dir + "/pipewire-0", 50))
        return false;
    if (withSessionManager)
        processes.push_back(spawn({ "wireplumber" }));
    serverArguments = { "pipewire-pulse" };
    processes.push_back(spawn(serverArguments));
    why = "pipewire-pulse did not open its socket (pipewire-pulse.log)";
    if (!waitFor(dir + "/pulse/native", 50))
        return false;
    socket = dir + "/pulse/native";
    // The default sink is the session manager's to keep: without one, the
    // sink is there and made the default once the manager starts.
    if (!withSessionManager) {
        why = "pactl could not make the null sink";
        return runPactl({ "load-module", "module-null-sink", "sink_name=nul" });
    }
    return makeNullSink();
}

bool SoundServer::makeNullSink()
{
    why = "pactl could not make the null sink the default";
    return runPactl({ "load-module", "module-null-sink", "sink_name=nul" }) && runPactl({ "set-default-sink", "nul" });
}

std::size_t SoundServer::underruns() const
{
    std::ifstream log(dir + "/pulseaudio.log");
    std::size_t count = 0;
    for (std::string line; std::getline(log, line);)
        count += line.find("Implicit underrun of") != std::string::npos ? 1u : 0u;
    return count;
}

bool SoundServer::startSessionManager()
{
    // Before the server that answers the socket, which stays last.
    const pid_t manager = spawn({ "wireplumber" });
    if (manager <= 0)
        return false;
    processes.insert(processes.end() - 1, manager);
    // It answers pactl once it runs.
    for (int tries = 0; tries < 50; ++tries) {
        if (runPactl({ "set-default-sink", "nul" }))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

SoundServer::SoundServer(Kind kind, bool logUnderruns)
{
    char name[] = "/tmp/lumaroll-sound-XXXXXX";
    dir = mkdtemp(name);
    chmod(dir.c_str(), 0700); // PulseAudio refuses a runtime folder others can enter
    const bool started = kind == Kind::PulseAudio
        ? startPulseAudio(logUnderruns, "module-null-sink sink_name=nul rate=44100")
        : startPipeWire(kind == Kind::PipeWire);
    if (!started)
        stopAll();
}

SoundServer::SoundServer(TunnelInto into)
{
    const SoundServer& device = into.device;
    char name[] = "/tmp/lumaroll-sound-XXXXXX";
    dir = mkdtemp(name);
    chmod(dir.c_str(), 0700);
    if (!device.running()
        || !startPulseAudio(
            false, "module-tunnel-sink-new server=unix:" + device.socket + " sink=nul sink_name=tunnel"))
        stopAll();
}

void SoundServer::stopAll()
{
    for (auto pid = processes.rbegin(); pid != processes.rend(); ++pid)
        stop(*pid);
    processes.clear();
    why += " in " + dir;
}

bool SoundServer::record()
{
    stopRecording();
    recordingPath = dir + "/recording-" + std::to_string(++recordings) + ".raw";
    // Each piece is handed on as soon as the sink has played its cycle.
    recorder = spawn({ "parec", "-d", "nul.monitor", "--raw", "--format=s16le", "--rate=44100", "--channels=2",
        "--latency-msec=5", recordingPath });
    if (!waitFor(recordingPath, 20))
        return false;
    watching = true;
    arrivalWatch = std::thread([this] { noteArrivals(); });
    // A fifth of a second in: past the recorder's first cycles, for which the
    // graph often finds it late.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (recordedFrames() < 8820 && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return recordedFrames() >= 8820;
}

void SoundServer::stopRecording()
{
    watching = false;
    if (arrivalWatch.joinable())
        arrivalWatch.join();
    stop(recorder);
    recorder = -1;
    const std::lock_guard<std::mutex> locked(arrivalsLock);
    arrivals.clear();
}

void SoundServer::noteArrivals()
{
    std::uint64_t seen = 0;
    while (watching) {
        const std::uint64_t frames = recordedFrames();
        if (frames != seen) {
            seen = frames;
            const std::lock_guard<std::mutex> locked(arrivalsLock);
            arrivals.emplace_back(Clock::now(), frames);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

// A sink hands each cycle it renders to the recorder as it starts to play
// it, a little later when the machine is busy, never sooner: the piece that
// came soonest after its cycle began fixes when each frame played. That is
// its own frames less a cycle (the usual piece), at its arrival.
std::uint64_t SoundServer::framePlayingAt(Clock::time_point moment) const
{
    const std::lock_guard<std::mutex> locked(arrivalsLock);
    constexpr double rate = 44100.0;
    double ahead = -1e300; // frames less the clock's seconds times the rate, at the soonest arrival
    std::vector<std::uint64_t> pieces;
    std::uint64_t before = 0;
    for (const auto& [when, frames] : arrivals) {
        if (when > moment)
            break;
        if (when < moment - std::chrono::seconds(2)) {
            before = frames;
            continue;
        }
        ahead = std::max(
            ahead, static_cast<double>(frames) - rate * std::chrono::duration<double>(when.time_since_epoch()).count());
        if (before > 0)
            pieces.push_back(frames - before);
        before = frames;
    }
    if (pieces.empty())
        return recordedFrames();
    std::nth_element(pieces.begin(), pieces.begin() + static_cast<std::ptrdiff_t>(pieces.size() / 2), pieces.end());
    const double playing = ahead + rate * std::chrono::duration<double>(moment.time_since_epoch()).count()
        - static_cast<double>(pieces[pieces.size() / 2]);
    return static_cast<std::uint64_t>(std::clamp(playing, 0.0, static_cast<double>(before)));
}

// Each piece's frames less the clock's time times the rate sink below the
// soonest arrivals before it only when the machine kept it late, and the next
// piece on time comes back up; after a loss, every later piece stays down.
double SoundServer::recordingLostMs(Clock::time_point from, Clock::time_point to) const
{
    const std::lock_guard<std::mutex> locked(arrivalsLock);
    constexpr double rate = 44100.0;
    std::vector<double> ahead; // as in framePlayingAt, per piece from `from` on
    std::size_t judged = 0; // the pieces up to `to`
    for (const auto& [when, frames] : arrivals) {
        if (when < from)
            continue;
        ahead.push_back(
            static_cast<double>(frames) - rate * std::chrono::duration<double>(when.time_since_epoch()).count());
        if (when <= to)
            judged = ahead.size();
    }
    std::vector<double> soonestAfter(ahead.size() + 1, -1e300);
    for (std::size_t k = ahead.size(); k-- > 0;)
        soonestAfter[k] = std::max(soonestAfter[k + 1], ahead[k]);
    double lost = 0, soonestBefore = -1e300;
    for (std::size_t k = 0; k < judged && k + 1 < ahead.size(); ++k) {
        soonestBefore = std::max(soonestBefore, ahead[k]);
        lost = std::max(lost, soonestBefore - soonestAfter[k + 1]);
    }
    return lost * 1000.0 / rate;
}

SoundServer::~SoundServer()
{
    stopRecording();
    for (auto pid = processes.rbegin(); pid != processes.rend(); ++pid)
        stop(*pid);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

void SoundServer::pause()
{
    if (!processes.empty())
        ::kill(processes.back(), SIGSTOP);
}

void SoundServer::resume()
{
    if (!processes.empty())
        ::kill(processes.back(), SIGCONT);
}

void SoundServer::kill()
{
    if (processes.empty() || serverArguments.empty())
        return;
    ::kill(processes.back(), SIGKILL);
    waitpid(processes.back(), nullptr, 0);
    processes.pop_back();
    std::error_code ignored;
    std::filesystem::remove(socket, ignored);
}

bool SoundServer::restart()
{
    processes.push_back(spawn(serverArguments));
    if (!waitFor(socket, 50))
        return false;
    // pipewire-pulse's null sink went with it.
    return serverArguments[0] != "pipewire-pulse" || makeNullSink();
}

std::uint64_t SoundServer::recordedFrames() const
{
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(recordingPath, error);
    return error ? 0 : bytes / 4;
}

std::vector<float> SoundServer::recording(std::uint64_t from, std::uint64_t to) const
{
    std::ifstream file(recordingPath, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(from * 4));
    std::vector<std::int16_t> stereo(static_cast<std::size_t>((to - from) * 2));
    file.read(reinterpret_cast<char*>(stereo.data()), static_cast<std::streamsize>(stereo.size() * 2));
    std::vector<float> mono(stereo.size() / 2);
    for (std::size_t i = 0; i < mono.size(); ++i)
        mono[i] = static_cast<float>(stereo[2 * i]) + static_cast<float>(stereo[2 * i + 1]);
    return mono;
}
