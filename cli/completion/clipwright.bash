# bash completion for clipwright: commands, options and profile names.

_clipwright_options()
{
    # The options a command's help lists.
    "$1" "$2" --help 2>/dev/null | sed -n 's/^  \(-[^ ]*\)\(, \(--[^ ]*\)\)\?.*/\1 \3/p'
}

_clipwright()
{
    local cur prev program=${COMP_WORDS[0]} command=${COMP_WORDS[1]}
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    if [[ $COMP_CWORD -eq 1 ]]; then
        COMPREPLY=($(compgen -W "profiles info convert --help --version" -- "$cur"))
        return
    fi
    case $prev in
        -p|--profile)
            local IFS=$'\n'
            # One name a line; -o filenames quotes the spaces in them.
            COMPREPLY=($(compgen -W "$("$program" profiles --names 2>/dev/null)" -- "$cur"))
            return ;;
        --lang)
            COMPREPLY=($(compgen -W "en_us zh_cn" -- "$cur")); return ;;
        --zoom)
            COMPREPLY=($(compgen -W "original full 16:9 4:3" -- "$cur")); return ;;
        --effect)
            COMPREPLY=($(compgen -W "none gray emboss old" -- "$cur")); return ;;
        --audio-track)
            COMPREPLY=($(compgen -W "all 1 2" -- "$cur")); return ;;
        --subtitles)
            COMPREPLY=($(compgen -W "keep none burn burn:1 burn:2" -- "$cur")); return ;;
        -o|--output)
            COMPREPLY=($(compgen -d -- "$cur")); return ;;
        --log)
            COMPREPLY=($(compgen -f -- "$cur")); return ;;
        -j|--jobs|--size|--fps|--vcodec|--vb|--acodec|--ab|--ar|--ac|--start|--end|--crop|--brightness|--contrast|--saturation|--volume|--name)
            return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_clipwright_options "$program" "$command")" -- "$cur"))
        return
    fi
    COMPREPLY=($(compgen -f -- "$cur"))
}

complete -o filenames -F _clipwright clipwright
