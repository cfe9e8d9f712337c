#include "gl/ShaderLoadingException.h"

ShaderLoadingException::ShaderLoadingException(const std::string& detail)
    : VornE::Exception("Fail to create the shader: " + detail)
{
}
