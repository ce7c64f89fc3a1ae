# bash completion for tavrel-tool: its commands, their options, team names, net patterns, and
# files or folders where a command takes one. The tool itself says what fits the word being
# typed (tavrel-tool __complete WORDS... WORD), so completion follows its commands as they are.
_tavrel_tool() {
    local typed=${COMP_WORDS[COMP_CWORD]}
    typed=${typed#[\"\']}  # a team name begun inside quotes
    local IFS=$'\n'
    local answer
    answer=($("${COMP_WORDS[0]}" __complete "${COMP_WORDS[@]:1:COMP_CWORD-1}" "$typed" \
        2>/dev/null)) || return
    COMPREPLY=()
    case ${answer[0]} in
    files | folders)
        compopt -o filenames 2>/dev/null
        if [[ ${answer[0]} == files ]]; then
            COMPREPLY=($(compgen -f -- "$typed"))
        else
            COMPREPLY=($(compgen -d -- "$typed"))
        fi
        ;;
    words)
        local word
        for word in "${answer[@]:1}"; do
            COMPREPLY+=("$(printf '%q' "$word")")
        done
        ;;
    esac
}
complete -F _tavrel_tool tavrel-tool tavrel-tool.exe
