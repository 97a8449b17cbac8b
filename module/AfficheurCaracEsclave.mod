/*
 * AfficheurCarac, slave module.
 * ATmega328P at 16 MHz; 5 x 7 dot matrix. Wiring and chain protocol: module/README.md.
 *
 * A slave has no clock of its own for the sequence: it follows the pulses of the master,
 * repeated by every module of the chain. Each character lasts until the next pulse, and
 * the slave's first character starts CarRet characters after the master's first one, so
 * the slave shows the sequence CarRet characters behind the master. The master marks the
 * start of its sequence with a long pulse; before each pass the slave waits, display dark,
 * until the master is where the slave's first character belongs, which brings it back in
 * step after a reset, a late start or a lost pulse.
 */

#include <stdbool.h>
#include <stdint.h>
#include <avr/interrupt.h>
#include <avr/io.h>
#include <util/atomic.h>

/* Number of characters behind the master (the download writes the pupil's value here). */
#define CarRet 0

/* "+ 0" makes an empty delay read as 0 instead of failing to compile. */
static const int16_t charactersBehind = CarRet + 0;

/* Chain input D2 (INT0, pull-up) and repeated output D3: idle high, a pulse is low. */
#define PULSE_IN_BIT PD2
#define PULSE_OUT_BIT PD3

/* Pulses shorter than this are noise, pulses at least this long mark the sequence start
 * (milliseconds; the master sends 3 and 9). Timer 1 measures them in 4 us counts. */
#define NOISE_BELOW_MS 2
#define START_FROM_MS 6
#define COUNTS_PER_MS 250

/* Row values, row A (top) to G (bottom); bit i lights column i, column 0 at the left. */
volatile uint8_t ValLigne[7];

/* 100 ms ticks since the character started, held below tempo; the end of a pulse sets it
 * to tempo, which ends the character. Atomic, because the main loop reads it in two byte
 * loads. */
volatile _Atomic uint16_t T100ms;

/* A character lasts until the master's next pulse. */
static const uint16_t tempo = UINT16_MAX;

/* Number of the character the master shows, 1 for its first; 0 until a start was seen. */
static volatile uint16_t masterPosition;
/* Characters in the master's sequence; 0 until a whole pass was seen. */
static volatile uint16_t masterLength;

/*
 * avr-libc has no libatomic: these are the calls the compiler makes for each access to a
 * 16-bit _Atomic object. Blocking interrupts makes each access indivisible.
 */
uint16_t __atomic_load_2(const volatile void *object, int order)
{
	uint16_t value;
	(void)order;
	ATOMIC_BLOCK(ATOMIC_RESTORESTATE) { value = *(const volatile uint16_t *)object; }
	return value;
}

void __atomic_store_2(volatile void *object, uint16_t value, int order)
{
	(void)order;
	ATOMIC_BLOCK(ATOMIC_RESTORESTATE) { *(volatile uint16_t *)object = value; }
}

bool __atomic_compare_exchange_2(volatile void *object, void *expected, uint16_t desired,
                                 bool weak, int successOrder, int failureOrder)
{
	bool same;
	(void)weak;
	(void)successOrder;
	(void)failureOrder;
	ATOMIC_BLOCK(ATOMIC_RESTORESTATE)
	{
		uint16_t current = *(volatile uint16_t *)object;
		same = current == *(uint16_t *)expected;
		if (same)
			*(volatile uint16_t *)object = desired;
		else
			*(uint16_t *)expected = current;
	}
	return same;
}

/* Rows A..F on PC0..PC5 (A0..A5), row G on PD4 (D4): a row is lit while its line is high.
 * Columns 0..4 on PB0..PB4 (D8..D12): a dot is lit while its column line is low. */
static void rowsOff(void)
{
	PORTC &= (uint8_t)~0x3F;
	PORTD &= (uint8_t)~_BV(PD4);
}

static void rowOn(uint8_t row)
{
	if (row < 6)
		PORTC |= (uint8_t)_BV(row);
	else
		PORTD |= (uint8_t)_BV(PD4);
}

/* 1 kHz: shows the next row (each row 1 ms in 7, about 140 frames a second) and counts
 * the 100 ms ticks. */
ISR(TIMER0_COMPA_vect)
{
	static uint8_t row;
	static uint8_t milliseconds;

	rowsOff();
	row = (uint8_t)((row + 1) % 7);
	PORTB = (uint8_t)((PORTB & ~0x1F) | (~ValLigne[row] & 0x1F));
	rowOn(row);

	if (++milliseconds == 100) {
		milliseconds = 0;
		if (T100ms < tempo - 1)
			T100ms++;
	}
}

/* Timer 1 count at the start of the pulse on the chain input. */
static uint16_t pulseStart;
/* The pulse on the chain input lasted long enough to be the master's. */
static bool pulseCounted;

/* Every edge of the chain input: repeat it down the chain at once. A pulse that ends before
 * the 2 ms mark is noise and leaves no trace; the end of a counted one tells whether it was
 * the start of the master's sequence. */
ISR(INT0_vect)
{
	if (!(PIND & _BV(PULSE_IN_BIT))) {
		PORTD &= (uint8_t)~_BV(PULSE_OUT_BIT);
		pulseStart = TCNT1;
		OCR1A = (uint16_t)(pulseStart + NOISE_BELOW_MS * COUNTS_PER_MS);
		TIFR1 = _BV(OCF1A);
		TIMSK1 = _BV(OCIE1A);
		return;
	}
	PORTD |= (uint8_t)_BV(PULSE_OUT_BIT);
	TIMSK1 = 0;
	if (!pulseCounted)
		return;
	pulseCounted = false;

	uint16_t width = (uint16_t)(TCNT1 - pulseStart);
	if (width >= START_FROM_MS * COUNTS_PER_MS) {
		if (masterPosition != 1) {
			if (masterPosition > 1)
				masterLength = (uint16_t)(masterPosition - 1);
			masterPosition = 1;
		}
	} else if (masterPosition == 1 && masterLength != 0) {
		/* Not the start the learnt length foretold: the master's sequence changed. */
		masterPosition = (uint16_t)(masterLength + 1);
		masterLength = 0;
	}
}

/* 2 ms into a pulse that is still on: the master moved on to its next character, and the
 * slave ends the one it shows, all at the same distance from the master's change. A start
 * pulse cannot be told yet: the position follows the length learnt from the pass before,
 * and the end of the pulse puts it right. */
ISR(TIMER1_COMPA_vect)
{
	TIMSK1 = 0;
	if (PIND & _BV(PULSE_IN_BIT))
		return;
	pulseCounted = true;
	if (masterPosition != 0)
		masterPosition = masterPosition == masterLength ? 1 : (uint16_t)(masterPosition + 1);
	T100ms = tempo;
}

/* True when the master shows the character that goes with the slave's first one. */
static bool firstCharacterDue(void)
{
	uint16_t position;
	uint16_t length;
	ATOMIC_BLOCK(ATOMIC_RESTORESTATE)
	{
		position = masterPosition;
		length = masterLength;
	}
	if (position == 0)
		return false;
	if (length == 0)
		return charactersBehind >= 0 && position == (uint16_t)charactersBehind + 1;
	int16_t behind = (int16_t)(charactersBehind % (int16_t)length);
	if (behind < 0)
		behind = (int16_t)(behind + (int16_t)length);
	return position == (uint16_t)behind + 1;
}

/* Before each pass: dark display and one character wait after another until the master
 * reaches the slave's first character; no wait at all while the two are in step. */
static void waitForFirstCharacter(void)
{
	if (firstCharacterDue())
		return;
	for (uint8_t row = 0; row < 7; row++)
		ValLigne[row] = 0;
	do {
		T100ms = 0;
		while (T100ms < tempo) {
		}
	} while (!firstCharacterDue());
}

static void setUp(void)
{
	DDRB |= 0x1F;
	PORTB |= 0x1F;
	DDRC |= 0x3F;
	DDRD |= (uint8_t)_BV(PD4);
	PORTD |= (uint8_t)(_BV(PULSE_OUT_BIT) | _BV(PULSE_IN_BIT));
	DDRD |= (uint8_t)_BV(PULSE_OUT_BIT);

	/* Timer 0, CTC, 16 MHz / 64 / 250 = 1 kHz. */
	TCCR0A = _BV(WGM01);
	TCCR0B = _BV(CS01) | _BV(CS00);
	OCR0A = 249;
	TIMSK0 = _BV(OCIE0A);

	/* Timer 1 free running, 16 MHz / 64: 4 us counts for measuring pulses. */
	TCCR1A = 0;
	TCCR1B = _BV(CS11) | _BV(CS10);

	/* INT0 on every edge of the chain input. */
	EICRA = _BV(ISC00);
	EIFR = _BV(INTF0);
	EIMSK = _BV(INT0);
	sei();
}

int main(void)
{
	setUp();
	for (;;) {
		waitForFirstCharacter();
	//ICI
	}
}
