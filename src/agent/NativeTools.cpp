#include "agent/NativeTools.h"

#include "agent/tools/CalendarTools.h"
#include "agent/tools/ContactTools.h"
#include "agent/tools/EmailTools.h"
#include "agent/tools/FileTools.h"
#include "agent/tools/ScreenTools.h"
#include "agent/tools/ShortcutTools.h"
#include "agent/tools/TextTools.h"
#include "agent/tools/UtilityTools.h"

namespace nolvea::NativeTools {

std::vector<AgentTool> all(const ScreenContext& context) {
    std::vector<AgentTool> tools{TextTools::insertText(context),
                                 TextTools::replaceSelection(context)};
    for (const AgentTool* shared :
         {&CalendarTools::createReminder(), &CalendarTools::listReminders(),
          &CalendarTools::createEvent(), &CalendarTools::listEvents(), &ContactTools::findContact(),
          &ContactTools::sendMessage(), &EmailTools::sendEmail(), &EmailTools::listRecentEmails(),
          &FileTools::searchFiles(), &FileTools::openFile(), &FileTools::openApp(),
          &FileTools::openURL(), &FileTools::webSearch(), &ShortcutTools::listShortcuts(),
          &ShortcutTools::runShortcut(), &TextTools::copyToClipboard(),
          &ScreenTools::lookAtScreen(), &UtilityTools::calculate()})
        tools.push_back(*shared);
    return tools;
}

} // namespace nolvea::NativeTools
