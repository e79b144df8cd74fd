#include "job_context.h"

#include "input.h"

namespace engine {

void probeJobInputs(EngineState& state, JobContext& job)
{
    for (int i = 0; i < job.inputCount; ++i) {
        initEngine(state);
        openInput(state, job.inputs[i]->sourcePath, &job, job.inputs[i].get());
        releaseInputsAndOutputs(state);
        if (job.anyInputHasVideo && job.anyInputHasAudio)
            break;
    }
}

} // namespace engine
