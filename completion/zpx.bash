# bash completion for zpx-ppd and zpx-print, installed under both names in
# bash-completion's folder (or sourced by hand). After -o it offers the keys of
# the PPD the command line names (a file, or a queue with --printer) and then
# their choices, as `zpx-ppd options --keys` lists them.

# The words of the line up to the cursor, split at blanks as the user typed
# them ("KEY=VALUE" stays one word): _zpx_words, and _zpx_current, the word
# under the cursor ("" after a blank).
_zpx_split_line() {
  local line=${COMP_LINE:0:COMP_POINT}
  read -r -a _zpx_words <<<"$line"
  _zpx_current=""
  if [[ -n $line && $line != *[[:blank:]] ]]; then
    _zpx_current=${_zpx_words[-1]}
    unset '_zpx_words[-1]'
  fi
}

# Offers the lines of $1 that start with the current word, compared as plain
# text: a PPD's choices are never expanded by the shell. A word ending in "="
# takes no blank after it. Where bash splits words at "=", the reply is only
# what follows the last "=" of the current word.
_zpx_reply() {
  COMPREPLY=()
  local word
  while IFS= read -r word; do
    [[ -n $word && $word == "$_zpx_current"* ]] && COMPREPLY+=("$word")
  done <<<"$1"
  if [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]]; then
    compopt -o nospace 2>/dev/null
  fi
  if [[ $COMP_WORDBREAKS == *=* && $_zpx_current == *=* ]]; then
    local prefix=${_zpx_current%=*}=
    COMPREPLY=("${COMPREPLY[@]#"$prefix"}")
  fi
}

_zpx_reply_files() {
  local IFS=$'\n'
  COMPREPLY=($(compgen -f -- "$_zpx_current"))
  compopt -o filenames 2>/dev/null
}

_zpx_reply_queues() {
  _zpx_reply "$(LC_ALL=C lpstat -e 2>/dev/null)"
}

# The -o words for the PPD named by "$@" (FILE, or --printer QUEUE): "KEY="
# for every key until the current word has its "=", then that key's
# "KEY=CHOICE" lines.
_zpx_reply_choices() {
  local lines
  lines=$(zpx-ppd options --keys "$@" 2>/dev/null) || return
  if [[ $_zpx_current == *=* ]]; then
    _zpx_reply "$lines"
  else
    _zpx_reply "$(sed 's/=.*/=/' <<<"$lines" | uniq)"
  fi
}

_zpx_ppd() {
  _zpx_split_line
  local count=${#_zpx_words[@]} previous=${_zpx_words[-1]}
  if ((count == 1)); then
    _zpx_reply "$(printf '%s\n' scan check dump options emit save load cups --help --version)"
    return
  fi
  local command=${_zpx_words[1]} file="" queue="" i
  for ((i = 2; i < count; i++)); do
    case ${_zpx_words[i]} in
      --printer) queue=${_zpx_words[i + 1]:-} ; ((++i)) ;;
      -o) ((i++)) ;;
      -*) ;;
      *) [[ -z $file ]] && file=${_zpx_words[i]} ;;
    esac
  done
  case $previous in
    --printer) _zpx_reply_queues ;;
    -o)
      if [[ -n $queue ]]; then
        _zpx_reply_choices --printer "$queue"
      elif [[ -n $file ]]; then
        _zpx_reply_choices "$file"
      fi
      ;;
    *)
      if [[ $_zpx_current == -* ]]; then
        case $command in
          options) _zpx_reply "$(printf '%s\n' --keys --printer -o)" ;;
          emit) _zpx_reply "$(printf '%s\n' --printer -o)" ;;
          cups) _zpx_reply -o ;;
          dump) _zpx_reply --json ;;
        esac
      else
        _zpx_reply_files
      fi
      ;;
  esac
}

_zpx_print() {
  _zpx_split_line
  local count=${#_zpx_words[@]} previous=${_zpx_words[-1]} ppd="" queue="" i
  for ((i = 1; i < count - 1; i++)); do
    case ${_zpx_words[i]} in
      --ppd) ppd=${_zpx_words[i + 1]} ;;
      --printer) queue=${_zpx_words[i + 1]} ;;
    esac
  done
  case $previous in
    --ppd | --output | --secrets | --job-options) _zpx_reply_files ;;
    --printer) _zpx_reply_queues ;;
    --orientation)
      _zpx_reply "$(printf '%s\n' portrait landscape reverse-portrait reverse-landscape)"
      ;;
    --ask | --copies | --title) ;;
    -o)
      if [[ -n $ppd ]]; then
        _zpx_reply_choices "$ppd"
      elif [[ -n $queue ]]; then
        _zpx_reply_choices --printer "$queue"
      fi
      ;;
    *)
      if [[ $_zpx_current == -* ]]; then
        _zpx_reply "$(printf '%s\n' --ppd --printer -o --job-options --ask --secrets --copies \
          --orientation --title --output --forget --gui --list --help --version)"
      else
        _zpx_reply_files
      fi
      ;;
  esac
}

complete -F _zpx_ppd zpx-ppd
complete -F _zpx_print zpx-print
