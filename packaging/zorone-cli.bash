# Bash completion for zorone-cli: its options, the values of --web and --robots, and the
# setting keys of --set.

# The keys of Zorone.sav and of the per-user profile, for when no zorone-cli on PATH can list them (an
# older one, or none yet). Keep in step with the settings table.
_zorone_cli_fallback_keys="m_sPath m_sTopURL m_nPriorityEx m_sPriorityEx_Other m_nBytes m_bSaveExit m_nKaisouKind m_nKaisou m_bDoubleDownloadItem m_nOtherSite m_sOtherSiteEx m_bDownloadedDelete m_sAnalsysFileEx m_sAnalsysTag m_bDefaultSave m_bDownloadFileExist m_nMultiDownloadMax m_nDisplayDownloadFileExList m_sShortCutPath m_nShortCutKind m_bShortCut m_nWebRules m_bConvertLinks m_bUpdateExisting m_nPerHostMax m_nHostWaitMs"

# The installed program knows its own keys: "--list-settings" prints one line
# per setting whose first field is the key; other lines are headers.
_zorone_cli_setting_keys()
{
    local listed
    if listed=$(command zorone-cli --list-settings 2>/dev/null) &&
        listed=$(printf '%s\n' "$listed" | awk '/^m_/ { print $1 }') &&
        [[ -n $listed ]]; then
        printf '%s\n' "$listed"
    else
        printf '%s\n' $_zorone_cli_fallback_keys
    fi
}

_zorone_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local options="--home --path --set --load --save --cookies --save-cookies --user-agent --header --robots --skipped --web --list-settings --convert-links --no-convert-links --update --per-host --wait --quiet -q --help -h --version --"
    COMPREPLY=()

    # Bash splits "--opt=value" at "=", so "--web=t" arrives as "--web" "=" "t".
    if [[ $cur == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD-1]}
        cur=
    elif [[ $prev == = && COMP_CWORD -ge 2 ]]; then
        prev=${COMP_WORDS[COMP_CWORD-2]}
    fi

    # Everything after a lone "--" is a URL.
    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -- ]] && return 0
    done

    case $prev in
        --web)
            mapfile -t COMPREPLY < <(compgen -W "classic today" -- "$cur")
            return 0
            ;;
        --set)
            # A key is followed by "=" and its value, so no space after it.
            mapfile -t COMPREPLY < <(compgen -W "$(_zorone_cli_setting_keys)" -S = -- "$cur")
            compopt -o nospace 2>/dev/null
            return 0
            ;;
        --home | --path)
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            compopt -o filenames 2>/dev/null
            return 0
            ;;
        --robots)
            mapfile -t COMPREPLY < <(compgen -W "on off" -- "$cur")
            return 0
            ;;
        --load | --save | --cookies | --save-cookies | --skipped)
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            compopt -o filenames 2>/dev/null
            return 0
            ;;
    esac

    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    fi
    return 0
}

complete -F _zorone_cli zorone-cli
