#!/bin/sh
# A sensor script as written for PRTG's "EXE/Script Advanced" sensors: the
# standard XML in lower case on one line. The orb passes its profile
# argument first ("Global" here); this script takes no arguments.
set -- $(df -Pk / | awk 'NR == 2 { print $4, $5 }')
free_kb=$1
percent=${2%\%}
read -r load _ < /proc/loadavg
printf '<?xml version="1.0" encoding="UTF-8"?><prtg>'
printf '<result><channel>Root used</channel><value>%s</value>' "$percent"
printf '<unit>Percent</unit><limitmode>1</limitmode>'
printf '<limitmaxwarning>90</limitmaxwarning><limitmaxerror>95</limitmaxerror></result>'
printf '<result><channel>Root free</channel><value>%s</value>' "$((free_kb * 1024))"
printf '<unit>BytesDisk</unit></result>'
printf '<result><channel>Load</channel><value>%s</value><float>1</float></result>' "$load"
printf '<text>root file system and load</text></prtg>'
