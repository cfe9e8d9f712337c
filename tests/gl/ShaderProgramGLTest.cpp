#include "gl/GLTestHelpers.h"
#include "gl/ShaderLoadingException.h"
#include "gl/ShaderProgram.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <stdlib.h>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string dir = "tests/gl/shaders/";
const std::string linkLine = "Erreur lors du liage du shader:\n";

std::string compiling(const std::string& stage, const std::string& file)
{
    return stage + " shader compilation '" + dir + file + "'\n";
}

// Live program and shader names, below a bound well above what the tests use.
int liveProgramsAndShaders()
{
    int live = 0;
    for (GLuint name = 1; name < 4096; ++name)
        live += (glIsProgram(name) ? 1 : 0) + (glIsShader(name) ? 1 : 0);
    return live;
}

} // namespace

// Only the link throws: a missing file or a compile failure is logged and the
// pair goes on to the link, which fails and names both paths.
TEST(ShaderProgram, MissingFileCompileFailureAndLinkFailureLogInOrderThrowAtLinkAndLeaveNoNameBehind)
{
    struct Case {
        std::string vertex, fragment;
        std::string head; // how the log starts
        std::vector<std::string> then; // found after it, in this order
    };
    const Case cases[] = {
        { "missing.vert", "good.frag",
            "Fail to open '" + dir + "missing.vert': No such file or directory\n" + compiling("Vertex", "missing.vert"),
            { linkLine } },
        // The compiler's own words sit between the compilation line and "Failed".
        { "broken.vert", "good.frag", compiling("Vertex", "broken.vert"),
            { "error", "\nFailed\n" + compiling("Fragment", "good.frag") + linkLine } },
        { "mismatch.vert", "mismatch.frag",
            compiling("Vertex", "mismatch.vert") + compiling("Fragment", "mismatch.frag") + linkLine, { "shade" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vertex);
        const int before = liveProgramsAndShaders();
        MergedLog log;
        EXPECT_EQ(thrownBy<ShaderLoadingException>([&] { ShaderProgram program(dir + c.vertex, dir + c.fragment); }),
            "Exception received (Fail to create the shader: " + dir + c.vertex + " " + dir + c.fragment + " Linking)");
        const std::string text = log.text();
        ASSERT_EQ(text.substr(0, c.head.size()), c.head) << text;
        std::size_t at = c.head.size();
        for (const std::string& part : c.then) {
            at = text.find(part, at);
            ASSERT_NE(at, std::string::npos) << part << " in " << text;
        }
        EXPECT_EQ(liveProgramsAndShaders(), before);
    }
    EXPECT_NO_GL_ERROR();
}

// A sampler a program lacks is a warning and a false result, the texture still
// bound; a program destroyed while current would only be flagged for deletion.
TEST(ShaderProgram, MissingSamplerWarnsAndDestroyingTheCurrentProgramDeletesItAndItsShaders)
{
    LogCapture capture;
    auto program = std::make_unique<ShaderProgram>(dir + "good.vert", dir + "good.frag");
    const GLuint ids[] = { program->id(), program->vertex().id, program->fragment().id };
    Texture2D texture(Resolution { 4, 4 });
    program->use();
    capture.clear();
    EXPECT_FALSE(program->setTexture2D("normalMap", texture, 1));
    EXPECT_EQ(capture.out(), "Fail to get 'normalMap'\ntexture 2D 'normalMap' not found\n");
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), glName(texture.id));
    ShaderProgram::unsetTexture2D(texture, 1);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    glActiveTexture(GL_TEXTURE0);

    program.reset();
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
    EXPECT_FALSE(glIsProgram(ids[0]));
    EXPECT_FALSE(glIsShader(ids[1]));
    EXPECT_FALSE(glIsShader(ids[2]));
    EXPECT_NO_GL_ERROR();
}

namespace {

// While it lives, GLEW's create calls answer 0 without asking the GL, as the
// GL does when it fails to make a name; `shaders` picks which call fails.
class ZeroNames {
public:
    explicit ZeroNames(bool shaders)
        : shaders(shaders)
    {
        swap();
    }
    ~ZeroNames() { swap(); }
    ZeroNames(const ZeroNames&) = delete;
    ZeroNames& operator=(const ZeroNames&) = delete;

private:
    void swap()
    {
        if (shaders)
            std::swap(__glewCreateShader, otherShader);
        else
            std::swap(__glewCreateProgram, otherProgram);
    }
    static GLuint GLAPIENTRY zeroShader(GLenum) { return 0; }
    static GLuint GLAPIENTRY zeroProgram() { return 0; }
    const bool shaders;
    PFNGLCREATESHADERPROC otherShader = zeroShader;
    PFNGLCREATEPROGRAMPROC otherProgram = zeroProgram;
};

} // namespace

// A name of 0 is how the GL says it made none, with an error pending: the
// program goes on to the next check, which throws that error, and what was
// made is freed all the same.
TEST(ShaderProgram, ANameOfZeroFromTheGLIsThrownAsTheGLErrorAtTheNextCheck)
{
    LogCapture capture;
    const int before = liveProgramsAndShaders();
    for (const bool shaders : { true, false }) {
        ZeroNames zero(shaders);
        EXPECT_EQ(thrownBy([] { ShaderProgram program(dir + "good.vert", dir + "good.frag"); }),
            shaders ? "Invalid value in 'glCreateProgram()'" : "Invalid value in 'glAttachShader()'");
        EXPECT_EQ(liveProgramsAndShaders(), before);
    }
    EXPECT_NO_GL_ERROR();
}

namespace {

// A program built from copies of good.vert and good.frag, which each case
// rewrites before rebuilding it.
class ShaderProgramRebuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/lumaroll-shaders-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        std::filesystem::copy_file(dir + "good.vert", folder + "/good.vert");
        std::filesystem::copy_file(dir + "good.frag", folder + "/good.frag");
        before = liveProgramsAndShaders();
    }
    void TearDown() override
    {
        std::filesystem::remove_all(folder);
        EXPECT_EQ(liveProgramsAndShaders(), before) << "a name was left behind";
        EXPECT_NO_GL_ERROR();
    }

    void write(const std::string& file, const std::string& text) const { std::ofstream(folder + "/" + file) << text; }

    // Linked, with exactly `vertex` and `fragment` attached.
    static ::testing::AssertionResult linkedWith(GLuint program, GLuint vertex, GLuint fragment)
    {
        GLint linked = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        GLuint attached[3] = { 0, 0, 0 };
        GLsizei count = 0;
        glGetAttachedShaders(program, 3, &count, attached);
        const std::set<GLuint> found(attached, attached + std::max(count, 0));
        if (linked == GL_TRUE && count == 2 && found == std::set<GLuint> { vertex, fragment })
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
            << "program " << program << " linked " << linked << ", " << count << " shaders attached";
    }

    std::string folder;
    int before = 0;
};

const std::string fragmentWithoutImage = "#version 110\n"
                                         "uniform vec4 colour;\n"
                                         "varying vec2 texCoord;\n"
                                         "void main() { gl_FragColor = colour * vec4(texCoord, 1.0, 1.0); }\n";
const std::string vertexWithoutPosition = "#version 110\n"
                                          "uniform mat4 mvpMatrix;\n"
                                          "varying vec2 texCoord;\n"
                                          "void main()\n"
                                          "{\n"
                                          "    texCoord = vec2(0.5);\n"
                                          "    gl_Position = mvpMatrix * vec4(0.0, 0.0, 0.0, 1.0);\n"
                                          "}\n";
const std::string fragmentHalved = "#version 110\n"
                                   "uniform vec4 colour;\n"
                                   "uniform sampler2D image;\n"
                                   "varying vec2 texCoord;\n"
                                   "void main() { gl_FragColor = 0.5 * colour * texture2D(image, texCoord); }\n";

} // namespace

// A rebuild that does not link, or that lacks what the drawing feeds, frees
// what it made (the fixture counts the names) and leaves the old program as it
// was, still linked with its shaders; one that succeeds takes the new names
// and frees the old ones.
TEST_F(ShaderProgramRebuild, KeepsTheOldProgramIntactOnFailureAndFreesItsNamesOnSuccess)
{
    LogCapture capture;
    ShaderProgram program(folder + "/good.vert", folder + "/good.frag");
    const GLuint old[3] = { program.id(), program.vertex().id, program.fragment().id };
    // What the drawing feeds: only these count as lacking.
    program.getAttribLocation("position");
    for (const char* uniform : { "mvpMatrix", "colour", "image" })
        program.getUniformLocation(uniform);
    std::vector<std::string> lacking { "left from before" };

    write("good.frag", "not glsl\n");
    EXPECT_FALSE(program.rebuild(lacking));
    EXPECT_EQ(lacking, std::vector<std::string> {});
    EXPECT_EQ((std::vector<GLuint> { program.id(), program.vertex().id, program.fragment().id }),
        (std::vector<GLuint> { old[0], old[1], old[2] }));
    EXPECT_TRUE(linkedWith(program.id(), old[1], old[2]));

    // Attributes come before uniforms in what is lacking.
    write("good.vert", vertexWithoutPosition);
    write("good.frag", fragmentWithoutImage);
    EXPECT_FALSE(program.rebuild(lacking));
    EXPECT_EQ(lacking, (std::vector<std::string> { "position", "image" }));
    EXPECT_EQ(program.id(), old[0]);
    EXPECT_TRUE(linkedWith(program.id(), old[1], old[2]));

    std::filesystem::copy_file(
        dir + "good.vert", folder + "/good.vert", std::filesystem::copy_options::overwrite_existing);
    write("good.frag", fragmentHalved);
    EXPECT_TRUE(program.rebuild(lacking));
    EXPECT_EQ(lacking, std::vector<std::string> {});
    for (GLuint name : old)
        EXPECT_FALSE(glIsProgram(name) || glIsShader(name)) << name;
    EXPECT_TRUE(linkedWith(program.id(), program.vertex().id, program.fragment().id));
    EXPECT_NE(program.getUniformLocation("image"), -1);
    EXPECT_EQ(program.vertex().path, folder + "/good.vert");
    EXPECT_EQ(program.fragment().path, folder + "/good.frag");
}

// A variant is its files built with macros defined after the version line:
// what they compile out is gone from the program, fed without a word, and
// kept through a rebuild; a name that is simply missing is still said. The
// compiler's messages give the file's own line numbers, with or without a
// version line.
TEST_F(ShaderProgramRebuild, AVariantIsItsFilesWithMacrosAndKeepsTheirLineNumbers)
{
    std::filesystem::copy_file(dir + "variant.frag", folder + "/variant.frag");
    const ShaderVariant plain { { "PLAIN", "UNUSED" }, { "tint" } };
    LogCapture capture;
    ShaderProgram whole(folder + "/good.vert", folder + "/variant.frag");
    ShaderProgram cut(folder + "/good.vert", folder + "/variant.frag", plain);
    EXPECT_NE(whole.getUniformLocation("tint"), -1);
    EXPECT_EQ(cut.getUniformLocation("tint"), -1);
    cut.use();
    capture.clear();
    EXPECT_FALSE(cut.setVector4("tint", glm::vec4(1.0f)));
    EXPECT_TRUE(cut.setVector4("colour", glm::vec4(1.0f)));
    EXPECT_EQ(capture.out(), "");

    std::vector<std::string> lacking;
    ASSERT_TRUE(cut.rebuild(lacking));
    EXPECT_EQ(cut.getUniformLocation("tint"), -1);
    EXPECT_EQ(cut.variant().defines, plain.defines);
    cut.use();
    capture.clear();
    EXPECT_FALSE(cut.setVector4("glint", glm::vec4(1.0f)));
    EXPECT_EQ(capture.out(), "Fail to get 'glint'\nvector(4) 'glint' not found\n");
    ShaderProgram::unuse();

    for (const std::string broken : { "broken.vert", "brokenUnversioned.frag" }) {
        SCOPED_TRACE(broken);
        const ShaderKind kind = broken.back() == 't' ? ShaderKind::Vertex : ShaderKind::Fragment;
        capture.clear();
        Shader(kind, dir + broken);
        const std::string asWritten = capture.out();
        capture.clear();
        Shader(kind, dir + broken, plain.defines);
        EXPECT_EQ(capture.out(), asWritten);
        // Mesa's "0:LINE(COLUMN): error": the line of the closing brace
        // where the semicolon is missing, the line of the stray "+;" else.
        EXPECT_NE(asWritten.find(kind == ShaderKind::Vertex ? "0:6(" : "0:4("), std::string::npos) << asWritten;
    }
}
