#include "demo/SoundServerLatency.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/proplist.h>
#include <pulse/thread-mainloop.h>

#include <unistd.h>

#include <string>
#include <utility>

SoundServerLatency::SoundServerLatency(Answer onAnswer)
    : answer(std::move(onAnswer))
    , loop(pa_threaded_mainloop_new())
{
    if (loop == nullptr)
        return;
    context = pa_context_new(pa_threaded_mainloop_get_api(loop), "lumaroll (output latency)");
    if (context == nullptr)
        return;
    pa_context_set_state_callback(context, contextChanged, this);
    // Never start a server of our own: the question is about the one SDL uses.
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0
        || pa_threaded_mainloop_start(loop) < 0) {
        pa_context_unref(context);
        context = nullptr;
    }
}

SoundServerLatency::~SoundServerLatency()
{
    if (loop != nullptr)
        pa_threaded_mainloop_stop(loop);
    if (context != nullptr) {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    if (loop != nullptr)
        pa_threaded_mainloop_free(loop);
}

bool SoundServerLatency::ask()
{
    if (context == nullptr)
        return false;
    pa_threaded_mainloop_lock(loop);
    bool asked = ready;
    if (ready && !asking) {
        found = false;
        if (pa_operation* listing = pa_context_get_sink_input_info_list(context, streamListed, this)) {
            pa_operation_unref(listing);
            asking = true;
        } else {
            asked = false;
        }
    }
    pa_threaded_mainloop_unlock(loop);
    return asked;
}

void SoundServerLatency::contextChanged(pa_context* context, void* data)
{
    auto* self = static_cast<SoundServerLatency*>(data);
    self->ready = pa_context_get_state(context) == PA_CONTEXT_READY;
}

void SoundServerLatency::streamListed(pa_context*, const pa_sink_input_info* info, int last, void* data)
{
    auto* self = static_cast<SoundServerLatency*>(data);
    if (last != 0) {
        self->asking = false;
        if (self->found)
            self->answer(self->latency);
        return;
    }
    // Our stream is the one whose client is this process; the demo plays one.
    const char* process
        = info->proplist != nullptr ? pa_proplist_gets(info->proplist, PA_PROP_APPLICATION_PROCESS_ID) : nullptr;
    if (process == nullptr || std::to_string(getpid()) != process || info->corked != 0)
        return;
    self->found = true;
    self->latency = static_cast<std::uint64_t>(info->buffer_usec) + static_cast<std::uint64_t>(info->sink_usec);
}
