// Windows' output: WASAPI's default render endpoint.

#include "platform/native/demo/SoundOutputs.h"

#include "platform/windows/demo/WasapiOutput.h"

namespace {

std::unique_ptr<SoundOutput> openWasapi(OutputSearch& search, bool, const std::string&)
{
    std::string why;
    std::unique_ptr<SoundOutput> output = WasapiOutput::open(why);
    if (!output)
        search.addReason(why);
    return output;
}

// After the endpoint went away (unplugged, its driver restarted): the
// default one again, which answers at once, or not.
std::unique_ptr<SoundOutput> againWasapi()
{
    std::string why;
    return WasapiOutput::open(why);
}

} // namespace

const std::vector<SoundOutputKind>& platformSoundOutputs()
{
    static const std::vector<SoundOutputKind> outputs {
        { "wasapi", "WASAPI: the default sound output device, in shared mode", true, openWasapi, againWasapi },
    };
    return outputs;
}
