// Compares the number translator's words with two independent number-to-words libraries:
// n2words (English, French, Spanish, German, Italian) and written-number (Brazilian
// Portuguese, which n2words lacks). Every number from 0 to 2 000 000 and a few thousand
// random numbers of up to 15 digits, in all six languages.
//
// Both sides are first brought to common conventions (spacing, the "(and) " mark, the
// punctuation between groups); then the reviewed rules of known_differences.json turn
// the libraries' wording into ours where the two differ on purpose. Any difference left
// fails the run.
//
// usage: node compare.mjs PRINT_TOOL [--max N] [--random N] [--digits N] [--seed S]
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';
import { fileURLToPath } from 'node:url';

import { toCardinal as enUS } from 'n2words/en-US';
import { toCardinal as frFR } from 'n2words/fr-FR';
import { toCardinal as esES } from 'n2words/es-ES';
import { toCardinal as deDE } from 'n2words/de-DE';
import { toCardinal as itIT } from 'n2words/it-IT';
import writtenNumber from 'written-number';

const here = path.dirname(fileURLToPath(import.meta.url));
const args = process.argv.slice(2);
const tool = args[0];
const option = (name, fallback) => {
    const i = args.indexOf(name);
    return i >= 0 ? args[i + 1] : fallback;
};
const maxRange = BigInt(option('--max', '2000000'));
const randomCount = Number(option('--random', '4000'));
const maxDigits = Number(option('--digits', '15'));
let seed = BigInt(option('--seed', '20261210'));
if (!tool) {
    console.error('usage: node compare.mjs PRINT_TOOL [--max N] [--random N] [--digits N] [--seed S]');
    process.exit(2);
}

// ---------------------------------------------------------------------------------------
// The numbers

// A small deterministic generator (64-bit xorshift*), so a failure can be replayed.
function nextRandom() {
    seed ^= seed >> 12n;
    seed ^= (seed << 25n) & 0xffffffffffffffffn;
    seed ^= seed >> 27n;
    return (seed * 0x2545f4914f6cdd1dn) & 0xffffffffffffffffn;
}

function randomNumber() {
    // 1 to maxDigits digits, and often whole groups of zeros, which the joins between
    // groups and the plural rules depend on.
    const digits = 1 + Number(nextRandom() % BigInt(maxDigits));
    let n = 0n;
    for (let k = 0; k < digits; k += 15) n = n * 10n ** 15n + nextRandom() % 10n ** 15n;
    n %= 10n ** BigInt(digits);
    if (nextRandom() % 2n === 0n) {
        for (let g = 0n; g < BigInt(Math.ceil(digits / 3)); ++g)
            if (nextRandom() % 5n < 2n) n -= ((n / 1000n ** g) % 1000n) * 1000n ** g;
    }
    return n;
}

const numbers = [];
for (let n = 0n; n <= maxRange; ++n) numbers.push(n.toString());
for (let k = 0; k < randomCount; ++k) numbers.push(randomNumber().toString());
// Round numbers at every scale, and the joins of a thousand millions with the millions.
for (let e = 7n; e <= 14n; ++e)
    for (const m of [1n, 2n, 21n, 80n, 101n, 200n, 999n])
        if (m * 10n ** e < 10n ** 15n) numbers.push((m * 10n ** e).toString());
numbers.push('1001000000', '3001000000', '1500000000', '1021000000', '21001000000',
             '1000001000001', '999999999999999', '100000000000000', '101101101101101');

// ---------------------------------------------------------------------------------------
// The languages

const squeeze = (s) => s.replace(/\s+/g, ' ').trim();

const languages = [
    {
        name: 'English', oracle: 'n2words en-US',
        words: (n) => enUS(BigInt(n)),
        ours: (s) => s.replace(/\(and\) /g, ''),   // the optional "and" is shown as a mark
        theirs: (s) => s,
    },
    {
        name: 'French', oracle: 'n2words fr-FR',
        words: (n) => frFR(BigInt(n)),
        ours: (s) => s, theirs: (s) => s,
    },
    {
        name: 'Spanish', oracle: 'n2words es-ES',
        words: (n) => esES(BigInt(n)),
        ours: (s) => s, theirs: (s) => s,
    },
    {
        name: 'German', oracle: 'n2words de-DE',
        words: (n) => deDE(BigInt(n)),
        ours: (s) => s, theirs: (s) => s,
    },
    {
        name: 'Italian', oracle: 'n2words it-IT',
        words: (n) => itIT(BigInt(n)),
        ours: (s) => s,
        // The library joins the groups of a number of millions with "e", which also
        // parts the thousands from the units ("un milione mille e uno").
        theirs: (s) => s.replace(/(mila|mille) e /g, '$1').replace(/ e /g, ' '),
    },
    {
        name: 'Portuguese', oracle: 'written-number pt',
        words: (n) => writtenNumber(Number(n), { lang: 'pt' }),
        ours: (s) => s.replace(/, /g, ' '),        // our groups are set off by commas
        // ... where the library joins some of them with "e" ("mil e um").
        theirs: (s) => s.replace(/\b(mil|milhão|milhões|bilhão|bilhões|trilhão|trilhões) e /g,
                                 '$1 '),
    },
];

const known = JSON.parse(fs.readFileSync(path.join(here, 'known_differences.json'), 'utf8'));
for (const lang of languages) {
    lang.rules = known.differences
        .filter((d) => d.language === lang.name)
        .map((d) => ({ ...d, re: new RegExp(d.oracle, 'gu'), hits: 0 }));
    lang.differences = 0;
    lang.examples = [];
}
const knownLanguages = new Set(languages.map((l) => l.name));
for (const d of known.differences)
    if (!knownLanguages.has(d.language)) throw new Error(`unknown language in rule: ${d.language}`);

function expected(lang, n) {
    let s = squeeze(lang.theirs(lang.words(n)));
    for (const rule of lang.rules) {
        if (rule.below && BigInt(n) >= BigInt(rule.below)) continue;
        if (rule.from && BigInt(n) < BigInt(rule.from)) continue;
        const t = s.replace(rule.re, rule.ours);
        if (t !== s) {
            rule.hits++;
            s = t;
        }
    }
    return s;
}

// Italian from a thousand miliardi on: we count in miliardi ("mille miliardi"), the
// library in bilioni. Its words for the miliardi and for the rest are put together.
const italian = languages[4];
const plainItalian = italian.words;
italian.words = (n) => {
    const v = BigInt(n);
    if (v < 10n ** 12n) return plainItalian(v);
    const high = v / 10n ** 9n, low = v % 10n ** 9n;
    return `${italian.words(high)} miliardi ${low ? plainItalian(low) : ''}`;
};

// ---------------------------------------------------------------------------------------
// The run: our words come from one process of the C++ tool.

const list = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'numbers-oracle-')), 'numbers.txt');
fs.writeFileSync(list, numbers.join('\n') + '\n');
const child = spawn(tool, [list], { stdio: ['ignore', 'pipe', 'inherit'] });
const lines = readline.createInterface({ input: child.stdout, crlfDelay: Infinity });

let count = 0;
const started = Date.now();
for await (const line of lines) {
    const fields = line.split('\t');
    const n = fields[0];
    if (n !== numbers[count]) throw new Error(`line ${count + 1}: expected ${numbers[count]}, got ${n}`);
    ++count;
    for (let k = 0; k < languages.length; ++k) {
        const lang = languages[k];
        const ours = squeeze(lang.ours(fields[k + 1] ?? ''));
        const theirs = expected(lang, n);
        if (ours !== theirs) {
            lang.differences++;
            if (lang.examples.length < 12) lang.examples.push({ n, ours, theirs });
        }
    }
}
const exitCode = await new Promise((resolve) => {
    if (child.exitCode !== null) resolve(child.exitCode);
    else child.on('close', resolve);
});
fs.rmSync(path.dirname(list), { recursive: true, force: true });

let failed = exitCode !== 0 || count !== numbers.length;
if (count !== numbers.length) console.log(`the tool printed ${count} of ${numbers.length} lines`);
for (const lang of languages) {
    console.log(`${lang.name} (${lang.oracle}): ${lang.differences} unexplained differences`);
    for (const e of lang.examples)
        console.log(`  ${e.n}\n    ours:     ${e.ours}\n    expected: ${e.theirs}`);
    for (const rule of lang.rules) {
        console.log(`  known difference used ${rule.hits} times: ${rule.oracle} -> ${rule.ours}`);
        if (rule.hits === 0) {
            console.log('    (never used: the rule is stale)');
            failed = true;
        }
    }
    if (lang.differences) failed = true;
}
const seconds = ((Date.now() - started) / 1000).toFixed(1);
console.log(`${count} numbers x ${languages.length} languages compared in ${seconds} s`);
console.log(failed ? 'numbers oracle: FAILED' : 'numbers oracle: all agree');
process.exit(failed ? 1 : 0);
