// The fault matrix: every way a user can break the demo's input or
// surroundings, one row each, run on the real binaries. Each row ends with a
// defined exit status and a console line that names the problem; none
// crashes or hangs.
#include "DemoProcess.h"
#include "course/RunLength.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A file under data/ ("": the data folder, made a file) left out, or made
// `text`, the first `at` bytes of the repository's copy, a FIFO, a folder, a device node of the
// test's own (the machine's full device's numbers: a write there fails,
// and the machine's own /dev is never named), or a symbolic link to a file
// of the test's own named `text`, beside the run's data folder.
enum Kind { None, Remove, Text, Cut, Fifo, Folder, Device, Link };
struct Change {
    std::string path;
    Kind kind = None;
    std::string text = "";
    std::size_t at = 0;
};

// What a row changes around the program besides its data and environment.
enum class Surroundings {
    Usual,
    DisplayWithoutGlx, // an X server of its own, without the GLX extension
    WorkFolderUnwritable, // the folder it runs in may not be written
    FailingFfmpeg, // an ffmpeg first on the PATH that takes a little, then fails
    StuckFfmpeg, // an ffmpeg first on the PATH that never reads its input
    ClosedStreams, // standard output and error closed
    ConsoleGone, // standard output and error a pipe that nobody reads any more
    LittleMemory, // at most 1.5 GB of address space
    // No file may grow past 64 kB: what a full disk does to a write, but for
    // the reason (EFBIG, "File too large" rather than ENOSPC).
    SmallFiles,
    // The user's settings folder may not be entered, and root's power to
    // read past that is dropped (CI runs as root).
    UsersFolderShut,
};

// A row: the capture tool with `arguments`, or the demo without. It ends by
// itself; or, with status 143 and no signal, is stopped with SIGTERM once its
// line shows; or is stopped by `signal` once `frames` frames have passed (0:
// in the start-up wait), or `seconds` after its start, and ends within 2 s.
struct Fault {
    std::string name;
    std::vector<std::string> arguments;
    int status;
    std::string line; // on the console, standard output or error
    Change change = {};
    std::vector<std::string> environment = {};
    Surroundings surroundings = Surroundings::Usual;
    int signal = 0;
    unsigned long frames = 0;
    int seconds = 0;
    // The demo started at this run time (ms) without the wait, so that
    // `frames` count from there; 0: from the start.
    unsigned long startAt = 0;
};

std::ostream& operator<<(std::ostream& out, const Fault& fault)
{
    return out << fault.name;
}

std::string repositoryFile(const std::string& path)
{
    std::ifstream file(std::string(LUMAROLL_SOURCE_DIR) + "/data/" + path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void apply(DemoProcess& run, const Change& change)
{
    const fs::path at = fs::path(run.directory()) / "data" / change.path;
    std::string bytes;
    switch (change.kind) {
    case None:
    case Remove:
        return; // left out of the tree
    case Fifo:
        fs::create_directories(at.parent_path());
        mkfifo(at.c_str(), 0600);
        return;
    case Folder:
        fs::create_directories(at);
        return;
    case Device:
        fs::create_directories(at.parent_path());
        if (mknod(at.c_str(), S_IFCHR | 0600, makedev(1, 7)) != 0)
            GTEST_SKIP() << "a device node needs root: " << std::strerror(errno);
        return;
    case Link: {
        const fs::path victim = fs::path(run.directory()) / change.text;
        run.writeFile(change.text, "someone's file\n");
        fs::create_directories(at.parent_path());
        fs::create_symlink(victim, at);
        return;
    }
    case Text:
        bytes = change.text;
        break;
    case Cut:
        bytes = repositoryFile(change.path).substr(0, change.at);
        break;
    }
    run.writeFile("data/" + change.path, bytes);
}

std::vector<Fault> faults()
{
    const std::string settings = "Settings file 'data/settings.ini': ";
    const std::string wall = "./data/textures/wall.png' : ";
    const std::string mesh = "./data/meshes/cube2.obj'", notFound = "\n\n\nMusic not found\n";
    std::string corrupt = repositoryFile("music/vobra.ogg");
    for (std::size_t i = 20000; i < 40000 && i < corrupt.size(); ++i)
        corrupt[i] = static_cast<char>(i * 7);
    std::vector<Fault> rows = {
        // The reader's every message is tested on its own; this shows one on the console.
        { "SettingsValueNotANumber", {}, 143, settings + "key 'hres' has the value 'wide'",
            { "settings.ini", Text, "hres wide" } },
        // The user's own file, as a FIFO nobody writes to, would block the start.
        { "SettingsUsersFileAFifo", {}, 143, "settings.ini' is a FIFO", { "../config/lumaroll/settings.ini", Fifo } },
        { "SettingsUsersFolderShut", {}, 143, "lumaroll/settings.ini' cannot be reached: Permission denied",
            { "../config/lumaroll/settings.ini", Text, "hres 320\n" }, {}, Surroundings::UsersFolderShut },
        // One file of each kind: every file start-up reads is one of these
        // kinds (the list is held to the data folder by a cheaper test), and
        // the loaders take every cut and every missing source on their own.
        { "TextureMissing", {}, 4, "Error while loading './data/textures/fade.png'", { "textures/fade.png", Remove } },
        { "TextureCutShort", {}, 4, wall + "the file is cut short", { "textures/wall.png", Cut, "", 100 } },
        { "ShaderMissing", {}, 2, "Fail to open './data/shaders/glowBlur.frag", { "shaders/glowBlur.frag", Remove } },
        { "TextureAFolder", {}, 4, wall + "it is a folder, not an image file", { "textures/wall.png", Folder } },
        { "ModelMissing", {}, 4, "Unable to find '" + mesh, { "meshes/cube2.obj", Remove } },
        { "MusicMissing", {}, 4, "Cannot open the music 'data/music/vobra.ogg': No such file or directory" + notFound,
            { "music/vobra.ogg", Remove } },
        { "MusicAFifo", {}, 4, "The music 'data/music/vobra.ogg' is a FIFO, not a sound file" + notFound,
            { "music/vobra.ogg", Fifo } },
        { "MusicNotOgg", {}, 4, "The music 'data/music/vobra.ogg' is not an Ogg Vorbis audio stream" + notFound,
            { "music/vobra.ogg", Text, "RIFF, or so it says\n" } },
        // Music that ends before the run's last frame, or loses part of itself
        // to damage, would run ahead of the pictures after the gap.
        { "MusicCutShort", {}, 4, "plays for 0.0 s and the run needs 74.0 s: it is cut short or broken" + notFound,
            { "music/vobra.ogg", Cut, "", 5000 } },
        { "MusicCorruptPartWay", {}, 4, "plays for 73.6 s and the run needs 74.0 s",
            { "music/vobra.ogg", Text, corrupt } },
        { "ShaderFailingToCompile", {}, 2,
            "Exception received (Fail to create the shader: ./data/shaders/bigCube.vert ./data/shaders/bigCube.frag "
            "Linking)",
            { "shaders/bigCube.frag", Text, "void main() { nonsense }\n" } },
        { "NoDisplay", {}, 1, "Unable to open the window: No available video device on the X display ':4242'", {},
            { "DISPLAY=:4242" } },
        { "DisplayWithoutGLX", {}, 1, "Couldn't find matching GLX visual", {}, {}, Surroundings::DisplayWithoutGlx },
        // Mesa then offers OpenGL 1.0, which GLEW refuses; -1 as an exit status.
        { "GlewRefusesTheGL", {}, 255, "Glew initialisation failed : '", {}, { "MESA_GL_VERSION_OVERRIDE=1.0" } },
        // Neither a sound server nor ALSA's device: the run goes on without sound.
        { "NoAudioDevice", {}, 143, "No available audio device (the sound server: Connection refused; ALSA's", {},
            { "LUMAROLL_AUDIO=", "PULSE_SERVER=unix:/nonexistent/lumaroll/native", "AUDIODEV=lumaroll_no_device" } },
        { "DataDirectoryUnreadable", {}, 4, "Unable to find '" + mesh, { "", Text } },
        { "CurrentDirectoryUnwritable", {}, 143, "FPS: ", {}, {}, Surroundings::WorkFolderUnwritable, 0, 0, 0, 1000 },
        // Without a console the demo plays on (no line can be seen): closed
        // streams must not become the X connection's, a console gone away must
        // not stop it, and SIGTERM still ends it.
        { "StandardStreamsClosed", {}, 143, "", {}, {}, Surroundings::ClosedStreams, SIGTERM, 0, 3 },
        { "ConsoleGoneAway", {}, 143, "", {}, {}, Surroundings::ConsoleGone, SIGTERM, 0, 3 },

        // A 100 kB argument is echoed cut to 200 characters.
        { "CaptureArgumentOf100kB", { "--out", "f", "--at", std::string(100000, '9') }, 2,
            "like 2000,15000; not '" + std::string(200, '9') + "…'\n" },
        { "CaptureOutOfMemory", { "--sheet", "big.png", "--size", "4096x4096" }, 1,
            "Out of memory (std::bad_alloc): the system gives the run less memory", {}, {},
            Surroundings::LittleMemory },
        // The system's reason, not libpng's "Write Error"; and no part left.
        { "CaptureSheetPastWhatTheDiskTakes", { "--sheet", "s.png", "--at", "1000,30000,60000", "--size", "320x256" },
            1, "/s.png': File too large", {}, {}, Surroundings::SmallFiles },
        // The frames as `ulimit -f` finds them: the program keeps on past
        // SIGXFSZ itself, the write fails, and the run ends with its line.
        { "CaptureFramesPastWhatTheDiskTakes", { "--out", "f", "--from", "0", "--to", "3000", "--size", "320x256" }, 1,
            "File too large", {}, {}, Surroundings::SmallFiles },
        { "CaptureSupersampledPastWhatTheGLDraws",
            { "--out", "f", "--at", "0", "--size", "8192x8192", "--supersample", "4" }, 2,
            "lumaroll-capture: frames of 32768x32768 are more than this GL draws" },
        { "CaptureProgressOfOneFrame", { "--out", "f", "--at", "44000", "--size", "16x16" }, 0,
            "captured 1 of 1 frames" },
        { "CaptureOutputUnwritable", { "--out", "/proc/lumaroll/frames", "--at", "0" }, 1, "Cannot write frames into" },
        { "CaptureDataFileMissing", { "--out", "f", "--at", "0" }, 4, "Error while loading './data/textures/wall.png'",
            { "textures/wall.png", Remove } },
        { "CaptureDataFolderMissing", { "--out", "f", "--at", "0", "--data-dir", "nowhere" }, 4,
            "Cannot enter the data folder 'nowhere': No such file or directory" },
        { "CaptureVideoWithTheMusicCutShort", { "--video", "v.mp4" }, 4, "plays for 11.1 s and the run needs 74.0 s",
            { "music/vobra.ogg", Cut, "", 200000 } },
        { "CaptureFfmpegMissing", { "--video", "v.mp4" }, 1, "needs ffmpeg", {}, { "PATH=/nonexistent" } },
        { "CaptureFfmpegFailingPartWay", { "--video", "v.mp4", "--size", "16x16" }, 1, "ffmpeg stopped taking frames",
            {}, {}, Surroundings::FailingFfmpeg },
        // The capture waits on an ffmpeg that stopped reading: Ctrl-C still ends it.
        { "CaptureFfmpegThatStopsReading", { "--video", "v.mp4", "--size", "320x256" }, 130, "' deleted\n", {}, {},
            Surroundings::StuckFfmpeg, SIGINT, 0, 3 },
        // Outputs that are not regular files are refused before any work.
        { "CaptureOutputADevice", { "--sheet", "full.dev" }, 1, "full.dev': it is a device",
            { "../full.dev", Device } },
        { "CaptureOutputAFifo", { "--video", "out.fifo" }, 1, "out.fifo': it is a FIFO", { "../out.fifo", Fifo } },
        { "CaptureOutputAFolder", { "--video", "data" }, 1, "data': it is a folder, and the capture writes only" },
        { "CaptureOutputAFolderName", { "--sheet", "sheets/" }, 1, "sheets/': that names a folder" },
        // A link planted at the output's name would have the capture write
        // over what it points to.
        { "CaptureSheetAtAPlantedLink", { "--sheet", "planted.png", "--at", "1000", "--size", "16x16" }, 1,
            "planted.png': it is there already as a symbolic link", { "../planted.png", Link, "victim.txt" } },
        { "CaptureVideoAtAPlantedLink", { "--video", "planted.mp4", "--size", "16x16" }, 1,
            "planted.mp4': it is there already as a symbolic link", { "../planted.mp4", Link, "victim.txt" } },
        { "CaptureFramesOverAFifo", { "--out", "frames", "--at", "2000" }, 1, "lumaroll-02000.png' is there already",
            { "../frames/lumaroll-02000.png", Fifo } },
    };
    // Frames past which the scene plays, counted from the FPS lines: a little
    // after each scene's start. The later scenes are started a second before
    // that, so that a row does not wait through the scenes before. A closed
    // terminal and Ctrl-\ tear down as SIGTERM does.
    const auto scenes = sceneFrameCounts();
    constexpr unsigned long lead = 60;
    struct Phase {
        const char* name;
        unsigned long frame; // of the run, at which the signal comes
        bool startedThere;
    };
    const Phase phases[] = { { "StartUpWait", 0, false }, { "SceneOne", 300, true },
        { "SceneTwo", scenes[0] + 87, true }, { "SceneThree", scenes[0] + scenes[1] + 86, true } };
    const std::pair<const char*, int> signals[]
        = { { "Interrupt", SIGINT }, { "Terminate", SIGTERM }, { "HangUp", SIGHUP }, { "Quit", SIGQUIT } };
    for (const Phase& phase : phases)
        for (const auto& [name, signal] : signals)
            if (signal == SIGINT || signal == SIGTERM || phase.frame == 300) {
                Fault row { std::string(name) + "During" + phase.name, {}, 128 + signal, "FrameBuffer '1' deleted\n",
                    {}, {}, Surroundings::Usual, signal, phase.frame };
                if (phase.startedThere) {
                    row.frames = lead;
                    row.startAt = (phase.frame - lead) * frameMilliseconds;
                }
                rows.push_back(row);
            }
    return rows;
}

class FaultMatrix : public ::testing::TestWithParam<Fault> { };

// An X server without the GLX extension, for the row that needs one.
std::string displayWithoutGlx(std::vector<pid_t>& servers)
{
    int ends[2];
    if (pipe(ends) != 0)
        return ":4242";
    const pid_t server = fork();
    if (server == 0) {
        close(ends[0]);
        const std::string fd = std::to_string(ends[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp", "-noreset",
            "-extension", "GLX", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    servers.push_back(server);
    std::string number;
    char c = 0;
    while (read(ends[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(ends[0]);
    return ":" + number;
}

} // namespace

TEST_P(FaultMatrix, EndsWithItsStatusAndALineThatNamesIt)
{
    const Fault& fault = GetParam();
    DemoProcess run;
    // A small window unless the row is about the settings: frames come faster.
    const Change& change = fault.change;
    if (change.kind != None && change.path.empty()) {
        run.writeFile("data", "a file where the data folder should be\n");
    } else {
        run.linkData({ "settings.ini", change.path });
        if (change.path != "settings.ini")
            run.writeFile("data/settings.ini", "hres 160 vres 128\n");
        apply(run, change);
        if (::testing::Test::IsSkipped())
            return;
    }

    std::vector<std::string> environment = fault.environment;
    std::vector<pid_t> servers;
    switch (fault.surroundings) {
    case Surroundings::Usual:
        break;
    case Surroundings::DisplayWithoutGlx:
        environment.push_back("DISPLAY=" + displayWithoutGlx(servers));
        break;
    case Surroundings::WorkFolderUnwritable:
        fs::permissions(run.directory(), fs::perms(0555));
        break;
    case Surroundings::FailingFfmpeg:
    case Surroundings::StuckFfmpeg:
        run.writeFile("bin/ffmpeg",
            fault.surroundings == Surroundings::StuckFfmpeg
                ? "#!/bin/sh\nexec sleep 600\n"
                : "#!/bin/sh\nhead -c 2000 >/dev/null\necho 'encoder broke' >&2\nexit 1\n");
        fs::permissions(run.directory() + "/bin/ffmpeg", fs::perms(0755));
        environment.push_back("PATH=" + run.directory() + "/bin:/usr/bin:/bin");
        break;
    case Surroundings::ClosedStreams:
        run.standardStreams(DemoProcess::Streams::Closed);
        break;
    case Surroundings::ConsoleGone:
        run.standardStreams(DemoProcess::Streams::BrokenPipe);
        break;
    case Surroundings::LittleMemory:
        run.limitAddressSpace(1500000000UL);
        break;
    case Surroundings::SmallFiles:
        run.limitFileSize(65536);
        break;
    case Surroundings::UsersFolderShut:
        fs::permissions(run.directory() + "/config/lumaroll", fs::perms::none);
        break;
    }
    std::string binary = fault.arguments.empty() ? LUMAROLL_BINARY : LUMAROLL_CAPTURE_BINARY;
    std::vector<std::string> arguments = fault.arguments;
    if (fault.startAt > 0)
        arguments.insert(arguments.end(), { "--no-wait", "--start", std::to_string(fault.startAt) });
    if (fault.surroundings == Surroundings::UsersFolderShut) {
        arguments.insert(
            arguments.begin(), { "--inh-caps=-all", "--bounding-set=-dac_override,-dac_read_search", binary });
        binary = "/usr/bin/setpriv";
    }
    run.start(arguments, environment, binary);

    if (fault.signal == 0 && fault.status == 143) {
        EXPECT_TRUE(run.waitForOutput(fault.line, 60)) << fault.line;
        run.signal(SIGTERM);
    } else if (fault.signal != 0 && fault.seconds == 0) {
        if (fault.frames == 0)
            EXPECT_TRUE(run.waitForOutput("StaticBuffer (vId: 7", 60)); // the last thing built before the wait
        else
            EXPECT_TRUE(run.waitForFrames(fault.frames, 120));
        run.signal(fault.signal);
    }
    const auto signalled = std::chrono::steady_clock::now();
    if (fault.seconds > 0) {
        std::this_thread::sleep_for(std::chrono::seconds(fault.seconds));
        run.signal(fault.signal);
    }
    const DemoProcess::Result result = run.finish(60);
    if (fault.seconds > 0) {
        EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(fault.seconds + 2));
    }
    fs::permissions(run.directory(), fs::perms(0755));
    for (pid_t server : servers) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, fault.status) << result.err;
    EXPECT_NE((result.err + result.out).find(fault.line), std::string::npos) << result.err;
    // However it ended, a capture leaves no part of a file behind.
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(run.directory(), error))
        EXPECT_NE(entry.path().extension().string(), ".partial") << entry.path().string() << " left behind";
}

INSTANTIATE_TEST_SUITE_P(Row, FaultMatrix, ::testing::ValuesIn(faults()),
    [](const ::testing::TestParamInfo<Fault>& info) { return info.param.name; });
