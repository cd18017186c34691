// Writes the expected FSRS-6 schedule of random review histories, as the reference package computes it, to the
// file named by the second argument. The first argument is the reference package's ES module file
// (fsrs-golden.sh installs it). The seed is fixed: the same package version writes the same file.
import { writeFileSync } from 'node:fs'
import { pathToFileURL } from 'node:url'

const [modulePath, outputPath] = process.argv.slice(2)
const { fsrs, createEmptyCard, FSRSVersion } = await import(pathToFileURL(modulePath).href)

// Whole-day intervals from the first rating, short-term stability for same-day reviews, no fuzz.
const scheduler = fsrs({
  request_retention: 0.9,
  enable_fuzz: false,
  enable_short_term: true,
  learning_steps: [],
  relearning_steps: [],
  maximum_interval: 36500,
})

// mulberry32: small, seedable and the same on every Node.
let seed = 20261210
const random = () => {
  seed = (seed + 0x6d2b79f5) | 0
  let t = Math.imul(seed ^ (seed >>> 15), 1 | seed)
  t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296
}
const between = (low, high) => low + Math.floor(random() * (high - low + 1))
const pick = (weights) => {
  let r = random() * weights.reduce((a, b) => a + b, 0)
  return weights.findIndex((w) => (r -= w) < 0)
}

const second = 1000
const hour = 3600 * second
const day = 24 * hour

// The next review's distance from the last one: same day (often across midnight), around the due day, early,
// late, or after a long break.
const gap = (scheduledDays) => {
  switch (pick([20, 35, 15, 15, 10, 5])) {
    case 0: return between(60, 6 * 3600) * second
    case 1: return Math.round(scheduledDays * (0.5 + random()) * day) + between(-12 * 3600, 12 * 3600) * second
    case 2: return between(1, Math.max(1, scheduledDays)) * day - between(0, 3600) * second
    case 3: return Math.round(Math.min(scheduledDays * (1.5 + 3.5 * random()), scheduledDays + 3000) * day)
    case 4: return between(100, 3000) * day + between(0, 86399) * second
    default: return scheduledDays * day
  }
}

const iso = (date) => date.toISOString().replace('.000Z', 'Z')
const lines = [`# ${FSRSVersion}; request_retention 0.9, no fuzz, short-term on, no learning steps, maximum 36500 days`,
  'history\tmoment\trating\tstability\tdifficulty\tinterval\tdue\tlapses']
for (let history = 1; history <= 1000; ++history) {
  let moment = Date.UTC(2024, 0, 1) + between(0, 730 * 86400) * second
  let card = createEmptyCard(new Date(moment))
  const count = between(1, 30)
  for (let n = 0; n < count; ++n) {
    if (n > 0) moment += Math.max(1, Math.round(gap(card.scheduled_days) / second)) * second
    const rating = 1 + pick([15, 15, 55, 15])
    card = scheduler.next(card, new Date(moment), rating).card
    lines.push([history, iso(new Date(moment)), rating, card.stability, card.difficulty, card.scheduled_days,
      iso(card.due), card.lapses].join('\t'))
  }
}
writeFileSync(outputPath, lines.join('\n') + '\n')
