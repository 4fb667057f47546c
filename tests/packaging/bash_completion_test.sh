#!/usr/bin/env bash
# Drives the zorone-cli bash completion as bash does on Tab: options, --web
# values, --set keys from `zorone-cli --list-settings` on PATH, and the keys
# it falls back on when that program is missing or fails.
# Usage: bash_completion_test.sh COMPLETION_FILE
completion=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The completion sees only what it runs on PATH, so an installed zorone-cli is
# never the one asked.
mkdir "$work/bin"
ln -s "$(command -v awk)" "$work/bin/awk"
# shellcheck source=/dev/null
source "$completion"
failures=0

# Splits LINE into words as bash does ("=" is a word of its own), with the
# cursor at its end, and asks the completion. The answer is compared sorted.
complete_line()
{
    local line=$1
    read -ra COMP_WORDS <<<"${line//=/ = }"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    PATH=$work/bin _zorone_cli zorone-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
}

expect()
{
    local line=$1 want=$2
    complete_line "$line"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd ' ')
    if [[ $got != "$want" ]]; then
        echo "FAIL: '$line' completes to '$got', expected '$want'"
        failures=$((failures + 1))
    fi
}

# Options and their values.
expect "zorone-cli --we" "--web"
expect "zorone-cli --list" "--list-settings"
expect "zorone-cli --no-" "--no-convert-links"
expect "zorone-cli --web " "classic today"
expect "zorone-cli --web=t" "today"
expect "zorone-cli --set m_nKaisou=" ""
expect "zorone-cli -- --w" ""
mkdir -p "$work/dl/sub" && touch "$work/dfile"
(cd "$work" && expect "zorone-cli --path d" "dl") || failures=$((failures + 1))

# No zorone-cli on PATH: the keys of Zorone.sav.
expect "zorone-cli --set m_nKaisou" "m_nKaisou= m_nKaisouKind="
expect "zorone-cli --set=m_bShort" "m_bShortCut="
complete_line "zorone-cli --set "
if [[ ${#COMPREPLY[@]} -ne 26 ]]; then
    echo "FAIL: --set offers ${#COMPREPLY[@]} keys without zorone-cli, expected 26"
    failures=$((failures + 1))
fi

# The program on PATH is the source of truth; its header lines are no keys.
cat >"$work/bin/zorone-cli" <<'FAKE'
#!/bin/bash
echo "$*" >>"${0%/*}/../asked"
printf 'KEY  VALUE  DEFAULT\nm_nAlpha  1  1\nm_sBeta  x  y\n  m_indented\n'
FAKE
chmod +x "$work/bin/zorone-cli"
expect "zorone-cli --set m_" "m_nAlpha= m_sBeta="
expect "zorone-cli --set=m_s" "m_sBeta="
if [[ $(sort -u "$work/asked") != "--list-settings" ]]; then
    echo "FAIL: zorone-cli was asked '$(cat "$work/asked")'"
    failures=$((failures + 1))
fi

# A zorone-cli that fails (an older one without --list-settings) is not
# believed, whatever it printed.
printf '#!/bin/bash\necho "m_nAlpha 1"\nexit 2\n' >"$work/bin/zorone-cli"
expect "zorone-cli --set m_nKaisou" "m_nKaisou= m_nKaisouKind="

[[ $failures -eq 0 ]] && echo "all completion cases passed"
exit $((failures > 0))
