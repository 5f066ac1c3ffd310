#include "updates/ReplacementScript.h"

#include <QProcess>

namespace nolvea {

QString ReplacementScript::text() {
    return QStringLiteral(R"sh(pid=$1 root=$2 new=$3 work=$4
# Wait for the program to end (a zombie counts as ended: nobody may ever reap it).
while kill -0 "$pid" 2>/dev/null &&
  [ "$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | cut -c1)" != Z ]; do sleep 0.2; done
parent=$(dirname -- "$root")
swapped=
staged=$(mktemp -d "$parent/.nolvea-nova-XXXXXX") &&
aside=$(mktemp -d "$parent/.nolvea-antiga-XXXXXX") &&
cp -pR -- "$new/." "$staged/" &&
chmod --reference="$new" -- "$staged" &&
[ -f "$staged/bin/nolvea" ] && [ -x "$staged/bin/nolvea" ] &&
mv -T -- "$root" "$aside" &&
if mv -T -- "$staged" "$root"; then swapped=1; else mv -T -- "$aside" "$root"; fi
[ -n "$staged" ] && rm -rf -- "$staged"
if [ -n "$swapped" ]; then rm -rf -- "$aside"; elif [ -n "$aside" ]; then rmdir -- "$aside" 2>/dev/null; fi
rm -rf -- "$work"
"$root/bin/nolvea" </dev/null >/dev/null 2>&1 &)sh");
}

QStringList ReplacementScript::arguments(qint64 pid, const QString& root, const QString& newRoot,
                                         const QString& workFolder) {
    return {QStringLiteral("-c"),
            text(),
            QStringLiteral("nolvea-atualizacao"),
            QString::number(pid),
            root,
            newRoot,
            workFolder};
}

std::optional<UpdateFailure> ReplacementScript::start(qint64 pid, const QString& root,
                                                      const QString& newRoot,
                                                      const QString& workFolder) {
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments(arguments(pid, root, newRoot, workFolder));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (process.startDetached()) return std::nullopt;
    return UpdateFailure(QStringLiteral("Não deu para iniciar a troca da versão."));
}

} // namespace nolvea
