#pragma once

#include <exception>
#include <string>

namespace VornE {

// The engine's general failure: a GL name of 0, a failed allocation, a program
// that does not link. Thrown by value; what() reads "Exception received (text)".
class Exception : public std::exception {
public:
    explicit Exception(const std::string& text);
    ~Exception() override;
    const char* what() const noexcept override;

private:
    std::string message;
};

} // namespace VornE
