#include "core/Exception.h"

namespace VornE {

Exception::Exception(const std::string& text)
    : message("Exception received (" + text + ")")
{
}

Exception::~Exception() = default;

const char* Exception::what() const noexcept
{
    return message.c_str();
}

} // namespace VornE
