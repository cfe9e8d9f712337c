#include "demo/CaptureHost.h"
#include "course/FrameSink.h"

#include "course/StopSignals.h"
#include "demo/FramePainter.h"
#include "demo/InputList.h"
#include "render/FrameReadback.h"
#include "scenes/DrawnScene.h"

CaptureHost::CaptureHost(FramePainter& painter, FrameSink& sink, InputList& inputs, const Resolution& size)
    : painter(painter)
    , sink(sink)
    , inputs(inputs)
    , target(size, OffscreenTarget::Depth::None)
{
    if (const GLubyte* name = glGetString(GL_RENDERER))
        sink.drawnBy(reinterpret_cast<const char*>(name));
}

bool CaptureHost::wants(std::uint32_t pass)
{
    return sink.wants(pass);
}

bool CaptureHost::show(std::uint32_t pass, Scene* scene)
{
    // The run plays drawn scenes only (makeRunScenes).
    painter.paint(static_cast<DrawnScene*>(scene), &target);
    target.bind();
    readFrame(static_cast<int>(target.size().width), static_cast<int>(target.size().height), pixels);
    target.unbind();
    return sink.take(pass, pixels); // false: the sink has said why
}

bool CaptureHost::endOfPass(std::uint32_t nextPass, bool)
{
    sink.passDone(nextPass - 1);
    inputs.updateAll();
    return !inputs.anyQuit() && StopSignals::received() == 0;
}
