// The fault matrix: every way a user can break the demo's input or
// surroundings, one row each, run on the real binaries. Each row ends with a
// defined exit status and a console line that names the problem; none
// crashes or hangs.
#include "DemoProcess.h"
#include "course/RunLength.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A change to the run's data tree: a file removed, replaced by text, or by
// the first `cut` bytes of the repository's own copy.
struct Change {
    std::string path; // under data/
    enum Kind { Remove, Text, Cut, Garbage, Patch, Fifo, Folder } kind;
    std::string text; // for a Patch, the bytes written over the file at `cut`
    std::size_t cut = 0;
};

Change removed(const std::string& path)
{
    return { path, Change::Remove, "", 0 };
}
Change written(const std::string& path, const std::string& text)
{
    return { path, Change::Text, text, 0 };
}
Change cutTo(const std::string& path, std::size_t bytes)
{
    return { path, Change::Cut, "", bytes };
}
Change garbage(const std::string& path)
{
    return { path, Change::Garbage, "", 0 };
}
Change patched(const std::string& path, std::size_t at, const std::string& bytes)
{
    return { path, Change::Patch, bytes, at };
}
Change fifo(const std::string& path)
{
    return { path, Change::Fifo, "", 0 };
}
Change folder(const std::string& path)
{
    return { path, Change::Folder, "", 0 };
}

// How a row's run ends.
enum class End {
    ByItself, // a failure that ends the run
    AfterLine, // plays on: stopped with SIGTERM once the line is on the console
    Signal, // stopped with `signal` once `frames` frames have passed (0: during the start-up wait)
    SignalLater, // stopped with `signal` `seconds` after it started; it must end within two seconds
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
    LittleMemory, // at most 3 GB of address space
};

struct Fault {
    std::string name;
    bool capture = false; // lumaroll-capture with `arguments`, or the demo
    std::vector<std::string> arguments;
    std::vector<Change> changes;
    std::vector<std::string> environment;
    Surroundings surroundings = Surroundings::Usual;
    End end = End::ByItself;
    int signal = 0;
    unsigned long frames = 0;
    int seconds = 0;
    int status = 0;
    std::string line; // on the console, standard output or error
};

// A row, written as what is broken, how the run is ended and what it must show.
class Row {
public:
    static Row demo(const std::string& name)
    {
        Row row;
        row.fault.name = name;
        return row;
    }
    static Row capture(const std::string& name, std::vector<std::string> arguments)
    {
        Row row;
        row.fault.name = "Capture" + name;
        row.fault.capture = true;
        row.fault.arguments = std::move(arguments);
        return row;
    }
    Row& changing(Change change)
    {
        fault.changes.push_back(std::move(change));
        return *this;
    }
    Row& environment(std::string assignment)
    {
        fault.environment.push_back(std::move(assignment));
        return *this;
    }
    Row& in(Surroundings surroundings)
    {
        fault.surroundings = surroundings;
        return *this;
    }
    // Plays on past its problem: stopped with SIGTERM once the line is shown.
    Row& playsOnAfter(const std::string& line)
    {
        fault.end = End::AfterLine;
        return ends(143, line);
    }
    Row& stoppedBy(int signal, unsigned long frames)
    {
        fault.end = End::Signal;
        fault.signal = signal;
        fault.frames = frames;
        return *this;
    }
    Row& stoppedLaterBy(int signal, int seconds)
    {
        fault.end = End::SignalLater;
        fault.signal = signal;
        fault.seconds = seconds;
        return *this;
    }
    Row& ends(int status, const std::string& line)
    {
        fault.status = status;
        fault.line = line;
        return *this;
    }
    operator Fault() const { return fault; }

private:
    Fault fault;
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
    switch (change.kind) {
    case Change::Remove:
        break; // left out of the tree
    case Change::Text:
        run.writeFile("data/" + change.path, change.text);
        break;
    case Change::Cut:
        run.writeFile("data/" + change.path, repositoryFile(change.path).substr(0, change.cut));
        break;
    case Change::Garbage: {
        std::string bytes(3000, '\0');
        unsigned state = 2012;
        for (char& byte : bytes)
            byte = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
        run.writeFile("data/" + change.path, bytes);
        break;
    }
    case Change::Fifo: {
        const fs::path at = fs::path(run.directory()) / "data" / change.path;
        fs::create_directories(at.parent_path());
        mkfifo(at.c_str(), 0600);
        break;
    }
    case Change::Folder:
        fs::create_directories(fs::path(run.directory()) / "data" / change.path);
        break;
    case Change::Patch: {
        std::string bytes = repositoryFile(change.path);
        bytes.replace(change.cut, change.text.size(), change.text);
        run.writeFile("data/" + change.path, bytes);
        break;
    }
    }
}

const std::string shaderLink = "Exception received (Fail to create the shader: ";

std::vector<Fault> faults()
{
    std::vector<Fault> rows;
    const std::string file = "Settings file 'data/settings.ini': ";
    // The reader's every message is tested on its own; one row shows it on the console.
    rows.push_back(Row::demo("SettingsValueNotANumber")
                       .changing(written("settings.ini", "hres wide"))
                       .playsOnAfter(file + "key 'hres' has the value 'wide', which is not a number"));
    rows.push_back(Row::demo("SettingsSizeBeyondTheLimit")
                       .changing(written("settings.ini", "hres 9000 vres 20000"))
                       .playsOnAfter(file + "value 20000 of key 'vres' is out of range, using 640"));
    // The user's own file, as a FIFO nobody writes to, would block the start.
    rows.push_back(Row::demo("SettingsUsersFileAFifo")
                       .changing(fifo("../config/lumaroll/settings.ini"))
                       .playsOnAfter("settings.ini' is a FIFO, not a regular file: not read"));

    for (const char* name : { "test", "wall", "rect1", "rect2", "rect3", "fade" }) {
        const std::string path = std::string("textures/") + name + ".png";
        rows.push_back(Row::demo(std::string("Texture") + name + "Missing")
                           .changing(removed(path))
                           .ends(4, "Error while loading '\n./data/" + path + "\n'"));
    }
    const std::string wallCutShort = "./data/textures/wall.png\n' : \nthe file is cut short";
    for (std::size_t cut : { 4u, 40u, 100u, 5000u })
        rows.push_back(Row::demo("TextureCutTo" + std::to_string(cut))
                           .changing(cutTo("textures/wall.png", cut))
                           .ends(4, wallCutShort));
    rows.push_back(Row::demo("TextureEmpty")
                       .changing(written("textures/rect1.png", ""))
                       .ends(4, "./data/textures/rect1.png\n' : \nthe file is cut short"));
    rows.push_back(Row::demo("TextureAFolder")
                       .changing(folder("textures/wall.png"))
                       .ends(4, "./data/textures/wall.png\n' : \nit is a folder, not an image file"));
    rows.push_back(Row::demo("TextureThatIsText")
                       .changing(written("textures/fade.png", "not an image\n"))
                       .ends(4, "Error while loading '\n./data/textures/fade.png\n'"));
    // Found by the texture fuzzer: a kilobyte whose first text chunk claims two
    // gigabytes, which libpng would allocate before reading; and a header that
    // claims more pixels than the GL takes, which DevIL would allocate.
    rows.push_back(Row::demo("TextureChunkLongerThanTheFile")
                       .changing(patched("textures/fade.png", 33, std::string("\x78\0\0\0", 4)))
                       .ends(4, "./data/textures/fade.png\n' : \nthe file is cut short"));
    rows.push_back(Row::demo("TextureLargerThanTheGL")
                       .changing(patched("textures/fade.png", 16, std::string("\0\x01\x86\xa0\0\x01\x86\xa0", 8)))
                       .ends(4, "the image is larger than the GL takes"));

    const std::string mesh = "./data/meshes/cube2.obj\n";
    rows.push_back(
        Row::demo("ModelMissing").changing(removed("meshes/cube2.obj")).ends(4, "Unable to find '\n" + mesh));
    rows.push_back(Row::demo("ModelCutShort")
                       .changing(cutTo("meshes/cube2.obj", 100))
                       .ends(4, "Fail to load the mesh '\n" + mesh + "' : \nno mesh in the file"));
    rows.push_back(
        Row::demo("ModelEmpty").changing(written("meshes/cube2.obj", "")).ends(4, "Fail to load the mesh '\n" + mesh));
    rows.push_back(
        Row::demo("ModelGarbage").changing(garbage("meshes/cube2.obj")).ends(4, "Fail to load the mesh '\n" + mesh));
    rows.push_back(
        Row::demo("ModelWithoutMesh")
            .changing(written("meshes/cube2.obj", "# a normal and a texture coordinate, no face\nvn 0 0 1\nvt 0 0\n"))
            .ends(4, "Fail to load the mesh '\n" + mesh + "' : \nno mesh in the file"));

    const std::string notFound = "\n\n\nMusic not found\n";
    rows.push_back(Row::demo("MusicMissing")
                       .changing(removed("music/vobra.ogg"))
                       .ends(4, "Couldn't open 'data/music/vobra.ogg'" + notFound));
    rows.push_back(Row::demo("MusicEmpty")
                       .changing(written("music/vobra.ogg", ""))
                       .ends(4, "Not an Ogg Vorbis audio stream" + notFound));
    rows.push_back(Row::demo("MusicAFifo")
                       .changing(fifo("music/vobra.ogg"))
                       .ends(4, "The music 'data/music/vobra.ogg' is a FIFO, not a sound file" + notFound));
    rows.push_back(Row::demo("MusicNotOgg")
                       .changing(written("music/vobra.ogg", "RIFF, or so it says\n"))
                       .ends(4, "Not an Ogg Vorbis audio stream" + notFound));
    // A file that opens but ends before the run's last frame is broken, and
    // so is one that loses part of itself to damage: the music heard after
    // the gap would run ahead of the pictures.
    rows.push_back(Row::demo("MusicCutShort")
                       .changing(cutTo("music/vobra.ogg", 5000))
                       .ends(4,
                           "The music 'data/music/vobra.ogg' plays for 0.0 s and the run needs 74.0 s: it is cut "
                           "short or broken"
                               + notFound));
    std::string corrupt = repositoryFile("music/vobra.ogg");
    for (std::size_t i = 20000; i < 40000 && i < corrupt.size(); ++i)
        corrupt[i] = static_cast<char>(i * 7);
    rows.push_back(Row::demo("MusicCorruptPartWay")
                       .changing(written("music/vobra.ogg", corrupt))
                       .ends(4, "plays for 73.6 s and the run needs 74.0 s"));

    for (const char* stem :
        { "bigCube", "colourCube", "postProcess", "texture2D", "grid", "simple", "glowBright", "glowBlur" })
        for (const char* kind : { ".vert", ".frag" }) {
            const std::string path = std::string("shaders/") + stem + kind;
            rows.push_back(
                Row::demo(std::string("Shader") + stem + (kind[1] == 'v' ? "Vertex" : "Fragment") + "Missing")
                    .changing(removed(path))
                    .ends(2, "Fail to open '\n./data/" + path));
        }
    rows.push_back(Row::demo("ShaderEmpty")
                       .changing(written("shaders/grid.frag", ""))
                       .ends(2, shaderLink + "./data/shaders/grid.vert ./data/shaders/grid.frag Linking)"));
    rows.push_back(Row::demo("ShaderFailingToCompile")
                       .changing(written("shaders/bigCube.frag", "void main() { nonsense }\n"))
                       .ends(2, shaderLink + "./data/shaders/bigCube.vert ./data/shaders/bigCube.frag Linking)"));
    rows.push_back(Row::demo("ShaderFailingToLink")
                       .changing(written("shaders/simple.frag",
                           "#version 110\nvarying vec3 unset;\nvoid main() { gl_FragColor = vec4(unset, 1.0); }\n"))
                       .ends(2, shaderLink + "./data/shaders/simple.vert ./data/shaders/simple.frag Linking)"));

    rows.push_back(Row::demo("NoDisplay")
                       .environment("DISPLAY=:4242")
                       .ends(1, "Unable to open the window: \nNo available video device\non the X display ':4242'"));
    rows.push_back(Row::demo("DisplayWithoutGLX")
                       .in(Surroundings::DisplayWithoutGlx)
                       .ends(1, "Couldn't find matching GLX visual"));
    // Mesa then offers OpenGL 1.0, which GLEW refuses; -1 as an exit status.
    rows.push_back(Row::demo("GlewRefusesTheGL")
                       .environment("MESA_GL_VERSION_OVERRIDE=1.0")
                       .ends(255, "Glew initialisation failed : '\n"));
    rows.push_back(Row::demo("NoAudioDevice")
                       .environment("SDL_AUDIODRIVER=no_such_driver")
                       .playsOnAfter("No available audio device"));
    rows.push_back(Row::demo("DataDirectoryUnreadable").changing(written("", "")).ends(4, "Unable to find '\n" + mesh));
    rows.push_back(
        Row::demo("CurrentDirectoryUnwritable").in(Surroundings::WorkFolderUnwritable).playsOnAfter("FPS: "));

    // Frames past which the scene plays, counted from the FPS lines: a little
    // after each scene's start.
    const std::array<std::uint32_t, runSceneCount> sceneFrames = sceneFrameCounts();
    const std::pair<const char*, unsigned long> phases[] = { { "StartUpWait", 0 }, { "SceneOne", 300 },
        { "SceneTwo", sceneFrames[0] + 87 }, { "SceneThree", sceneFrames[0] + sceneFrames[1] + 86 } };
    for (const auto& [phase, frames] : phases)
        for (int signal : { SIGINT, SIGTERM })
            rows.push_back(Row::demo(std::string(signal == SIGINT ? "Interrupt" : "Terminate") + "During" + phase)
                               .stoppedBy(signal, frames)
                               .ends(128 + signal, "FrameBuffer '1' deleted\n"));
    // A closed terminal and Ctrl-\\ tear down as SIGTERM does.
    for (int signal : { SIGHUP, SIGQUIT })
        rows.push_back(Row::demo(std::string(signal == SIGHUP ? "HangUp" : "Quit") + "DuringSceneOne")
                           .stoppedBy(signal, 300)
                           .ends(128 + signal, "FrameBuffer '1' deleted\n"));
    // Without a console the demo plays on (no line can be seen): closed
    // streams must not become the X connection's, a console gone away must
    // not stop it, and SIGTERM still ends it.
    rows.push_back(
        Row::demo("StandardStreamsClosed").in(Surroundings::ClosedStreams).stoppedLaterBy(SIGTERM, 3).ends(143, ""));
    rows.push_back(Row::demo("ConsoleGoneAway").in(Surroundings::ConsoleGone).stoppedLaterBy(SIGTERM, 3).ends(143, ""));

    rows.push_back(Row::capture("UnknownOption", { "--bogus", "1", "--out", "f" }).ends(2, "unknown option '--bogus'"));
    // A 100 kB argument is echoed cut to 200 characters.
    rows.push_back(Row::capture("ArgumentOf100kB", { "--out", "f", "--at", std::string(100000, '9') })
                       .ends(2, "like 2000,15000; not '" + std::string(200, '9') + "…'\n"));
    rows.push_back(Row::capture("OutOfMemory", { "--sheet", "big.png", "--size", "8192x8192" })
                       .in(Surroundings::LittleMemory)
                       .ends(1,
                           "Out of memory (std::bad_alloc): the system gives the run less memory than frames of "
                           "this size need"));
    rows.push_back(Row::capture("ProgressOfOneFrame", { "--out", "f", "--at", "44000", "--size", "16x16" })
                       .ends(0, "captured 1 of 1 frames"));
    rows.push_back(
        Row::capture("TimePastTheEnd", { "--out", "f", "--at", "90000" })
            .ends(2, "the run's last frame is at " + std::to_string(lastFrameTime(runFrameCount())) + " ms"));
    rows.push_back(Row::capture("OutputUnwritable", { "--out", "/proc/lumaroll/frames", "--at", "0" })
                       .ends(1, "Cannot write frames into"));
    rows.push_back(Row::capture("DataFileMissing", { "--out", "f", "--at", "0" })
                       .changing(removed("textures/wall.png"))
                       .ends(4, "Error while loading '\n./data/textures/wall.png\n'"));
    rows.push_back(Row::capture("DataFolderMissing", { "--out", "f", "--at", "0", "--data-dir", "nowhere" })
                       .ends(4, "Cannot enter the data folder 'nowhere': No such file or directory"));
    rows.push_back(Row::capture("VideoWithTheMusicCutShort", { "--video", "v.mp4" })
                       .changing(cutTo("music/vobra.ogg", 200000))
                       .ends(4, "plays for 11.1 s and the run needs 74.0 s"));
    rows.push_back(
        Row::capture("FfmpegMissing", { "--video", "v.mp4" }).environment("PATH=/nonexistent").ends(1, "needs ffmpeg"));
    rows.push_back(Row::capture("FfmpegFailingPartWay", { "--video", "v.mp4", "--size", "16x16" })
                       .in(Surroundings::FailingFfmpeg)
                       .ends(1, "ffmpeg stopped taking frames"));
    // The capture waits on an ffmpeg that stopped reading: Ctrl-C still ends it.
    rows.push_back(Row::capture("FfmpegThatStopsReading", { "--video", "v.mp4", "--size", "320x256" })
                       .in(Surroundings::StuckFfmpeg)
                       .stoppedLaterBy(SIGINT, 3)
                       .ends(130, "' deleted\n"));
    // Outputs that are not regular files are refused before any work.
    rows.push_back(Row::capture("OutputADevice", { "--sheet", "/dev/full" })
                       .ends(1,
                           "Cannot write the sheet '/dev/full': it is a device, and the capture writes only "
                           "regular files"));
    rows.push_back(Row::capture("OutputAFifo", { "--video", "out.fifo" })
                       .changing(fifo("../out.fifo"))
                       .ends(1, "out.fifo': it is a FIFO, and the capture writes only regular files"));
    rows.push_back(Row::capture("OutputAFolder", { "--video", "data" })
                       .ends(1, "data': it is a folder, and the capture writes only regular files"));
    rows.push_back(Row::capture("OutputAFolderName", { "--sheet", "sheets/" })
                       .ends(1, "sheets/': that names a folder; give the file's name too"));
    rows.push_back(Row::capture("FramesOverAFifo", { "--out", "frames", "--at", "2000" })
                       .changing(fifo("../frames/lumaroll-02000.png"))
                       .ends(1,
                           "lumaroll-02000.png' is there already as a FIFO, and the capture replaces only "
                           "regular files"));
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
    std::vector<std::string> leftOut { "settings.ini" };
    bool ownSettings = false, unreadableData = false;
    for (const Change& change : fault.changes) {
        leftOut.push_back(change.path);
        ownSettings = ownSettings || change.path == "settings.ini";
        unreadableData = unreadableData || change.path.empty();
    }
    if (unreadableData) {
        run.writeFile("data", "a file where the data folder should be\n");
    } else {
        run.linkData(leftOut);
        if (!ownSettings)
            run.writeFile("data/settings.ini", "hres 160 vres 128\n");
    }
    for (const Change& change : fault.changes)
        if (!change.path.empty())
            apply(run, change);

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
        run.limitAddressSpace(3000000000UL);
        break;
    }
    if (fault.capture)
        run.startCapture(fault.arguments, environment);
    else
        run.start(environment);

    if (fault.end == End::AfterLine) {
        EXPECT_TRUE(run.waitForOutput(fault.line, 60)) << fault.line;
        run.signal(SIGTERM);
    } else if (fault.end == End::Signal) {
        if (fault.frames == 0)
            EXPECT_TRUE(run.waitForOutput("StaticBuffer (vId: 7", 60)); // the last thing built before the wait
        else
            EXPECT_TRUE(run.waitForFrames(fault.frames, 120));
        run.signal(fault.signal);
    }
    const auto signalled = std::chrono::steady_clock::now();
    if (fault.end == End::SignalLater) {
        std::this_thread::sleep_for(std::chrono::seconds(fault.seconds));
        run.signal(fault.signal);
    }
    const DemoProcess::Result result = run.finish(60);
    if (fault.end == End::SignalLater) {
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
}

INSTANTIATE_TEST_SUITE_P(Row, FaultMatrix, ::testing::ValuesIn(faults()),
    [](const ::testing::TestParamInfo<Fault>& info) { return info.param.name; });
