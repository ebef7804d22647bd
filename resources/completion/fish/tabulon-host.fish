# fish completion for tabulon-host

set -l commands serve register run
complete -c tabulon-host -f
complete -c tabulon-host -n "not __fish_seen_subcommand_from $commands" -a serve -d 'Own the core and log every call'
complete -c tabulon-host -n "not __fish_seen_subcommand_from $commands" -a register -d "Run the plug-in's registration and print it"
complete -c tabulon-host -n "not __fish_seen_subcommand_from $commands" -a run -d 'Run the plug-in and print the text it inserts'
complete -c tabulon-host -l plugin -r -F -d 'The plug-in to start'
complete -c tabulon-host -s h -l help -d 'Show the commands'
complete -c tabulon-host -l version -d 'Show the version'
