# bash completion for torvane, torvane-cli and torvane-gatewaysim     -*- shell-script -*-

_torvane_cli() {
    local cur prev words cword
    _init_completion || return

    local commands="new convert show map check ports download upload verify diff eds export device node monitor tags report help"
    if [[ $cword -eq 1 ]]; then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi

    case $prev in
        --port)
            local ports
            ports=$(torvane-cli ports 2>/dev/null)
            COMPREPLY=($(compgen -W "$ports" -- "$cur"))
            # Any terminal device path is taken too: /dev/serial/by-id links, pseudo-terminals.
            [[ ${#COMPREPLY[@]} -eq 0 ]] && _filedir
            return
            ;;
        --old-format)
            COMPREPLY=($(compgen -W "compatible new cancel" -- "$cur"))
            return
            ;;
        --format)
            if [[ ${words[1]} == tags ]]; then
                COMPREPLY=($(compgen -W "csv tia iec" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "compatible new" -- "$cur"))
            fi
            return
            ;;
        --input-start | --output-start)
            return
            ;;
        --device)
            _filedir '@(eds|dcf)'
            return
            ;;
        --csv)
            _filedir csv
            return
            ;;
        --duration)
            return
            ;;
        -o)
            case ${words[1]} in
                eds) _filedir eds ;;
                export) _filedir xlsx ;;
                tags) _filedir '@(csv|xlsx|st)' ;;
                report) _filedir '@(html|pdf)' ;;
                *) _filedir '@(chg|xml)' ;;
            esac
            return
            ;;
    esac

    if [[ ${words[1]} == device ]]; then
        _torvane_cli_device
        return
    fi
    if [[ ${words[1]} == node ]]; then
        _torvane_cli_node
        return
    fi

    local opts="--help"
    case ${words[1]} in
        new) opts+=" --master --slave" ;;
        show) opts+=" --json" ;;
        map) opts+=" -o" ;;
        eds | export) opts+=" -o --template-dir" ;;
        check) opts+=" --yes" ;;
        ports) opts+=" --long --json" ;;
        download) opts+=" --port --yes --old-format" ;;
        upload) opts+=" --port --master --slave -o" ;;
        verify) opts+=" --port --json" ;;
        monitor) opts+=" --port --duration --csv --raw" ;;
        diff) opts+=" --carried --format --json" ;;
        tags) opts+=" --format --input-start --output-start --word-addressing --device -o" ;;
        report) opts+=" -o --input-start --output-start" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$opts" -- "$cur"))
    else
        _filedir '@(chg|xml)'
    fi
}
complete -F _torvane_cli torvane-cli

# torvane-cli device SUBCOMMAND ...: the sub-command, then its options, device files or keys.
_torvane_cli_device() {
    if [[ $cword -eq 2 ]]; then
        COMPREPLY=($(compgen -W "show import list remove --help" -- "$cur"))
        return
    fi
    [[ $prev == --node ]] && return
    local opts="--help"
    case ${words[2]} in
        show) opts+=" --node --json" ;;
        list) opts+=" --json" ;;
        remove)
            if [[ $cur != -* ]]; then
                local keys
                keys=$(torvane-cli device list --json 2>/dev/null |
                    grep -o '"key":"[^"]*"' | cut -d'"' -f4)
                # Keys hold colons, where bash splits words: complete the whole key, then trim.
                _get_comp_words_by_ref -n : cur
                COMPREPLY=($(compgen -W "$keys" -- "$cur"))
                __ltrim_colon_completions "$cur"
                return
            fi
            ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$opts" -- "$cur"))
    elif [[ ${words[2]} == show || ${words[2]} == import ]]; then
        _filedir '@(eds|EDS|dcf|DCF)'
    fi
}

# torvane-cli node add IN --device FILE|KEY --address N ...: options, then device files or keys.
_torvane_cli_node() {
    if [[ $cword -eq 2 ]]; then
        COMPREPLY=($(compgen -W "add --help" -- "$cur"))
        return
    fi
    case $prev in
        --address | --name | --upload | --download) return ;;
        --device)
            local keys
            keys=$(torvane-cli device list --json 2>/dev/null |
                grep -o '"key":"[^"]*"' | cut -d'"' -f4)
            _get_comp_words_by_ref -n : cur
            COMPREPLY=($(compgen -W "$keys" -- "$cur"))
            __ltrim_colon_completions "$cur"
            _filedir '@(eds|EDS|dcf|DCF)'
            return
            ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--device --address --name --pdos --all-pdos --upload --download -o --help" -- "$cur"))
    else
        _filedir '@(chg|xml)'
    fi
}

_torvane_gatewaysim() {
    local cur prev words cword
    _init_completion || return
    case $prev in
        --model) COMPREPLY=($(compgen -W "master slave" -- "$cur")); return ;;
        --stored-format) COMPREPLY=($(compgen -W "auto compatible new" -- "$cur")); return ;;
        --monitor) COMPREPLY=($(compgen -W "fixed addressed split" -- "$cur")); return ;;
        --link | --store | --log | --pattern) _filedir; return ;;
        --device) COMPREPLY=($(compgen -f -- "${cur:-/dev/tty}")); return ;;
        --firmware | --drop-frame | --bad-ack | --step | --step-seconds) return ;;
    esac
    COMPREPLY=($(compgen -W "--model --firmware --old-firmware --link --device --store --log
        --stored-format --drop-frame --bad-ack --silent --monitor --pattern --step --step-seconds
        --help" -- "$cur"))
}
complete -F _torvane_gatewaysim torvane-gatewaysim

_torvane() {
    local cur prev words cword
    _init_completion || return
    case $prev in
        -platform | -style | -stylesheet | -qwindowgeometry | -qwindowtitle) return ;;
        --lang)
            COMPREPLY=($(compgen -W "en zh_CN" -- "$cur"))
            return
            ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--help --version --demo --lang --measure-startup" -- "$cur"))
    else
        _filedir '@(chg|xml)'
    fi
}
complete -F _torvane torvane
