// The controller's services over the installed desktop and the shared stores: the one place
// where the voice pipeline meets the process-wide instances.
#include "speech/VoiceController.h"

#include "agent/Agent.h"
#include "agent/ContactsLookup.h"
#include "agent/MailBackend.h"
#include "ai/TextCleaner.h"
#include "ai/Warmup.h"
#include "core/AgentLog.h"
#include "core/HistoryStore.h"
#include "core/Permissions.h"
#include "platform/FrontWindowReader.h"
#include "platform/PermissionProbe.h"
#include "platform/Platform.h"
#include "system/ScreenContextReader.h"
#include "system/TextInserter.h"

namespace nolvea {

VoiceController::Services VoiceController::Services::installed() {
    Services s;
    s.captureContext = ScreenContextReader::capture;
    s.appIcon = [](qint32 pid) {
        const auto reader = Platform::find<FrontWindowReader>();
        return reader ? reader->applicationIcon(pid) : QVariant();
    };
    s.insertText = TextInserter::insert;
    s.clock = &Clock::shared();
    s.microphoneGranted = [] {
        auto probe = Platform::find<PermissionProbe>();
        return !probe || probe->isGranted(PermissionKind::microphone);
    };
    s.askForMicrophone = [] {
        // Asks when never asked, else opens the desktop's microphone settings.
        Permissions::shared().request(PermissionKind::microphone);
        Permissions::shared().refresh();
    };
    s.playCue = Sounds::play;
    s.warmCleanup = [] { Warmup::shared().cleanup(); };
    s.warmAgent = [] { Warmup::shared().agent(); };
    s.cleanUp = [](QString text, ScreenContext context,
                   QStringList vocabulary) -> QCoro::Task<QString> {
        const TextCleaner cleaner(LLMClient::fromSettings());
        co_return co_await cleaner.clean(std::move(text), std::move(context),
                                         std::move(vocabulary));
    };
    s.agentClient = LLMClient::fromSettings;
    s.agentTools = Agent::availableTools;
    s.log = [](const QString& line) { AgentLog::write(line); };
    s.record = [](const HistoryEntry& entry) { HistoryStore::shared().add(entry); };
    s.resolveRecipients = ContactsLookup::resolve;
    s.mailAccounts = MailBackend::accounts;
    s.mailMessage = MailBackend::message;
    return s;
}

} // namespace nolvea
