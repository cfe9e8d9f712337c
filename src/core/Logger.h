#pragma once

#include <sstream>
#include <string>

// The engine's console logger. A message is written with log(level, pieces...)
// below, which assigns `level` and streams the pieces with <<; each piece is
// formatted and written at once, nothing is buffered here. A message carries its own line end in its last
// piece, except at level Error, where the writer ends every piece with one.
namespace VornE {

enum LogLevel : int { Info = 1, Warning = 2, Error = 3 };

class LoggerFilter {
public:
    virtual bool accept(int level) = 0;

protected:
    ~LoggerFilter() = default;
};

class LoggerFormater {
public:
    virtual std::string format(int level, const std::string& text) = 0;

protected:
    ~LoggerFormater() = default;
};

class LoggerWriter {
public:
    virtual ~LoggerWriter() = default;
    virtual void write(int level, const std::string& text) = 0;
};

class NoFilter : public LoggerFilter {
public:
    bool accept(int level) override;
};

// Returns the text unchanged: the writer does the colouring.
class ColourFormater : public LoggerFormater {
public:
    std::string format(int level, const std::string& text) override;
};

// Level 2 goes to standard output in yellow, level 3 to standard error in
// bright red with a line end and flush after every piece, anything else to
// standard output as it is. The colours are the platform's: ANSI escapes on
// a POSIX terminal, the console's text attributes on Windows (14, 12, then
// the console's own back). They are used only when the stream is a terminal
// or a console and NO_COLOR is unset or empty, decided once at construction,
// so output redirected to a file stays plain text.
class ConsoleWriter : public LoggerWriter {
public:
    ConsoleWriter();
    void write(int level, const std::string& text) override;

    bool colouredOut() const { return colourOut; }
    bool colouredErr() const { return colourErr; }

private:
    bool colourOut;
    bool colourErr;
};

template <class Filter, class Formater, class Writer> class Logger : public Filter, public Formater, public Writer {
public:
    int level = Error;

    template <class T> Logger& operator<<(const T& value)
    {
        if (!this->accept(level))
            return *this;
        std::ostringstream text;
        text << value;
        this->write(level, this->format(level, text.str()));
        return *this;
    }
};

using ConsoleLogger = Logger<NoFilter, ColourFormater, ConsoleWriter>;

// The one logger of the program, created by the first VornEngine, or by the
// first message if one comes earlier, and never destroyed.
extern ConsoleLogger* logger;

// The logger, made now if it is not there yet: logging is safe at any time.
ConsoleLogger& theLogger();

// One message in one line of code: the level, then its pieces, each written
// as `logger << piece` writes it. A message can never go out at the level the
// previous one left behind.
template <class... Pieces> void log(LogLevel level, const Pieces&... pieces)
{
    ConsoleLogger& out = theLogger();
    out.level = level;
    (out << ... << pieces);
}

} // namespace VornE
