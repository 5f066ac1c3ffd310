#include "app/DevPlatform.h"

#include "core/AppPaths.h"
#include "platform/Platform.h"
#include "platform/linux/HomeFileSearch.h"
#include "platform/linux/PasswdUserAccount.h"
#include "platform/linux/PocketsphinxEngine.h"
#include "platform/linux/SendmailTransport.h"
#include "platform/linux/SpeechEngineChoice.h"
#include "platform/linux/XdgLauncher.h"

namespace nolvea::DevPlatform {

void install(DevCommand::Kind kind) {
    using Kind = DevCommand::Kind;
    switch (kind) {
    case Kind::dictation:
        Platform::install<SpeechEngine>(
            SpeechEngineChoice::standard(AppPaths::file(QStringLiteral("whisper")),
                                         QStringList{AppPaths::file(QStringLiteral("pocketsphinx")),
                                                     PocketsphinxEngine::systemModels()}));
        break;
    case Kind::agent:
    case Kind::mcp:
        // The tools that read run for real; the actions are only shown. The user's name goes
        // into the agent's context, and a sign-in page of a server is opened.
        Platform::install<FileSearch>(std::make_shared<HomeFileSearch>());
        Platform::install<UserAccount>(std::make_shared<PasswdUserAccount>());
        Platform::install<Launcher>(std::make_shared<XdgLauncher>());
        Platform::install<MailTransport>(std::make_shared<SendmailTransport>());
        break;
    case Kind::tts:
    case Kind::idle:
    case Kind::anthropicFormat:
    case Kind::renderIcon:
    case Kind::renderDMGBackground:
    case Kind::renderPreviews:
    case Kind::update:
        break;
    }
}

} // namespace nolvea::DevPlatform
