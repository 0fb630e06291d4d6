# bash completion for morvane-radio-tuner: options, then containers (.sab, .mab) or audio files
# (.mp3, .ogg, .wav) where the option before expects them.
_morvane_radio_tuner() {
    local cur prev words cword
    _init_completion || return
    # The option the word belongs to, and how many of its operands come before the word.
    local i option="" operand=0
    for ((i = cword - 1; i > 0; i--)); do
        if [[ ${words[i]} == -* ]]; then
            option=${words[i]}
            break
        fi
        ((operand++))
    done
    case $option:$operand in
    --scale:0 | --jobs:0)
        return
        ;;
    --export:1)
        _filedir 'mp3|ogg|wav'
        return
        ;;
    --replace:1)
        _filedir 'mp3|ogg|wav'
        return
        ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--info --export --replace --restore --jobs --verbose --scale --help
            --version' -- "$cur"))
        return
    fi
    _filedir 'sab|mab'
} &&
    complete -F _morvane_radio_tuner morvane-radio-tuner
