# bash completion for aes-marnoq-cli
_aes_marnoq_cli() {
    local cur prev command
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    if [ "$COMP_CWORD" -eq 1 ]; then
        mapfile -t COMPREPLY < <(compgen -W "encrypt decrypt verify info --help --version" -- "$cur")
        return
    fi
    command="${COMP_WORDS[1]}"
    case "$prev" in
        --password-file | -o | --output) mapfile -t COMPREPLY < <(compgen -f -- "$cur"); return ;;
        --suffix | -j | --jobs) COMPREPLY=(); return ;;
    esac
    local options="--password-file --password-stdin -o --output -r --recursive -j --jobs --json -q --quiet --"
    [ "$command" = decrypt ] && options="$options --original-name --suffix"
    [ "$command" = info ] && options="-r --recursive --json --"
    if [[ "$cur" == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    elif [ "$command" = encrypt ]; then
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    else
        # decrypt, verify and info take ".aes" files; folders stay reachable
        mapfile -t COMPREPLY < <(compgen -f -X '!*.@(aes|AES|Aes)' -- "$cur"; compgen -d -- "$cur")
    fi
}
complete -o filenames -o bashdefault -F _aes_marnoq_cli aes-marnoq-cli
