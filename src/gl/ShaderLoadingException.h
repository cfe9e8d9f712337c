#pragma once

#include "core/Exception.h"

#include <string>

// A shader program that could not be built; what() reads
// "Exception received (Fail to create the shader: <detail>)".
class ShaderLoadingException : public VornE::Exception {
public:
    explicit ShaderLoadingException(const std::string& detail);
};
