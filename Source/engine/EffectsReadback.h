#pragma once

#include "EditorEngine.h"
#include "EffectsController.h"
#include "effects/EffectsProgress.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orvo
{

/** What the readback needs of the Program data requests (selection tracking owns them). */
struct ProgramDataRequests
{
    /** A sync, bank request or edit-buffer refresh is outstanding. */
    std::function<bool()> isProgramDataBusy;
    /** Asks the instrument for its edit buffer on the readback's behalf; the reply comes back through
        EffectsReadback::replyReceived. */
    std::function<void (const std::string& reason, int expectedAlgorithm)> requestEditBufferRefresh;
    /** Forgets the outstanding refresh and its busy state (the readback gave up waiting). */
    std::function<void()> clearEditBufferRefresh;
};

/** The instrument only says that it switched algorithm, never what the new algorithm's controls
    hold; the readback asks for the edit buffer and shows the effect settings it carries. Every step
    waits on the scheduler and carries the generation it was started for, so a newer algorithm
    change makes every older step do nothing. */
class EffectsReadback
{
public:
    static constexpr int settleMs = 320;
    static constexpr int busyRetryMs = 500;
    static constexpr int maxBusyAttempts = 14;
    static constexpr int timeoutMs = 6000;
    static constexpr int hideAfterSuccessMs = 220;
    static constexpr int hideAfterFailureMs = 1500;
    static constexpr const char* title = "Getting Effect Data";

    EffectsReadback (EditorEngine& engine, EffectsController& effects, ProgramDataRequests requests);
    ~EffectsReadback();

    /** The instrument reported another algorithm. */
    void start (int algorithm);

    /** The edit buffer that answered the request; nothing when it could not be parsed. */
    void replyReceived (const std::optional<UnpackedProgram>& program);

    /** Applies the effect settings of a dump when it holds the expected algorithm; false otherwise. */
    bool apply (const UnpackedProgram& program, int expectedAlgorithm);

    bool isRunning() const { return running; }
    bool awaitsReply() const { return pendingToken != 0; }
    const EffectsProgress& progress() const { return overlay; }

private:
    void attempt (unsigned generation, int algorithm, int attemptNumber);
    void timedOut (unsigned generation);
    void finish (unsigned generation, bool ok, const std::string& text);
    void after (int ms, std::function<void()> step);
    void logLine (const std::string& line);

    EditorEngine& engine;
    EffectsController& effects;
    ProgramDataRequests requests;
    EffectsProgress overlay;
    unsigned generation = 0;
    unsigned pendingToken = 0; // the generation whose edit-buffer request is outstanding, or 0
    int expected = 0;
    bool running = false;
    std::shared_ptr<bool> alive = std::make_shared<bool> (true);
};

} // namespace orvo
