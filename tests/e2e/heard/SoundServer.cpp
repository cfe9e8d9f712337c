#include "SoundServer.h"

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
#include <vector>

namespace {

// Runs `arguments` with the server's folders; the child dies with the test.
pid_t spawn(const std::vector<std::string>& arguments, const std::string& dir)
{
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv("HOME", dir.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        setenv("PULSE_SERVER", ("unix:" + dir + "/socket").c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        freopen("/dev/null", "w", stdout);
        freopen((dir + "/" + arguments[0] + ".log").c_str(), "w", stderr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

void stop(pid_t pid)
{
    if (pid > 0 && kill(pid, SIGTERM) == 0)
        waitpid(pid, nullptr, 0);
}

// Whether `path` came within a hundred polls `ms` apart.
bool waitFor(const std::string& path, int ms)
{
    for (int tries = 0; tries < 100 && !std::filesystem::exists(path); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return std::filesystem::exists(path);
}

} // namespace

SoundServer::SoundServer()
{
    char name[] = "/tmp/lumaroll-pulse-XXXXXX";
    dir = mkdtemp(name);
    chmod(dir.c_str(), 0700); // PulseAudio refuses a runtime folder others can enter
    server = spawn({ "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "-L",
                       "module-null-sink sink_name=nul rate=44100", "-L",
                       "module-native-protocol-unix auth-anonymous=1 socket=" + dir + "/socket" },
        dir);
    if (!waitFor(dir + "/socket", 50)) {
        stop(server);
        server = -1;
        return;
    }
    recorder = spawn({ "parec", "-d", "nul.monitor", "--raw", "--format=s16le", "--rate=44100", "--channels=2",
                         "--latency-msec=5", dir + "/recording.raw" },
        dir);
    waitFor(dir + "/recording.raw", 20);
}

SoundServer::~SoundServer()
{
    stop(recorder);
    stop(server);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

std::uint64_t SoundServer::recordedFrames() const
{
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(dir + "/recording.raw", error);
    return error ? 0 : bytes / 4;
}

std::vector<float> SoundServer::recording(std::uint64_t from, std::uint64_t to) const
{
    std::ifstream file(dir + "/recording.raw", std::ios::binary);
    file.seekg(static_cast<std::streamoff>(from * 4));
    std::vector<std::int16_t> stereo(static_cast<std::size_t>((to - from) * 2));
    file.read(reinterpret_cast<char*>(stereo.data()), static_cast<std::streamsize>(stereo.size() * 2));
    std::vector<float> mono(stereo.size() / 2);
    for (std::size_t i = 0; i < mono.size(); ++i)
        mono[i] = static_cast<float>(stereo[2 * i]) + static_cast<float>(stereo[2 * i + 1]);
    return mono;
}
