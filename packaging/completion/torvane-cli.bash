# bash completion for torvane, torvane-cli and torvane-gatewaysim     -*- shell-script -*-

_torvane_cli() {
    local cur prev words cword
    _init_completion || return

    local commands="new convert show map check ports download upload verify diff eds export help"
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
            COMPREPLY=($(compgen -W "compatible new" -- "$cur"))
            return
            ;;
        -o)
            case ${words[1]} in
                eds) _filedir eds ;;
                export) _filedir xlsx ;;
                *) _filedir '@(chg|xml)' ;;
            esac
            return
            ;;
    esac

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
        diff) opts+=" --carried --format --json" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$opts" -- "$cur"))
    else
        _filedir '@(chg|xml)'
    fi
}
complete -F _torvane_cli torvane-cli

_torvane_gatewaysim() {
    local cur prev words cword
    _init_completion || return
    case $prev in
        --model) COMPREPLY=($(compgen -W "master slave" -- "$cur")); return ;;
        --stored-format) COMPREPLY=($(compgen -W "auto compatible new" -- "$cur")); return ;;
        --monitor) COMPREPLY=($(compgen -W "fixed addressed split" -- "$cur")); return ;;
        --link | --store | --log) _filedir; return ;;
        --device) COMPREPLY=($(compgen -f -- "${cur:-/dev/tty}")); return ;;
        --firmware | --drop-frame | --bad-ack) return ;;
    esac
    COMPREPLY=($(compgen -W "--model --firmware --old-firmware --link --device --store --log
        --stored-format --drop-frame --bad-ack --silent --monitor --help" -- "$cur"))
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
