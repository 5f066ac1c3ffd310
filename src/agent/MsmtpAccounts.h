#pragma once

#include <QString>
#include <QStringList>

// The sending addresses of the person's msmtp configuration (~/.msmtprc, else
// $XDG_CONFIG_HOME/msmtp/config): each account's "from", in file order, the default account
// first, without repeats. Empty when there is no configuration.
namespace nolvea::MsmtpAccounts {

QStringList addresses();
QStringList parse(const QString& configuration);

} // namespace nolvea::MsmtpAccounts
