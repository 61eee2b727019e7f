"""What pickling costs: the size of a pickled Point2 against a pickled pair of
floats plus a class reference (the least any encoding of a point needs), and
the time of pickle.dumps / pickle.loads on 100k points against 100k float
pairs. Prints the ratios side by side; machines here are noisy, so read the
ratios, not the times."""

import argparse
import pickle
import timeit

import zenolith_core as z


def best_of(func, repeat):
    return min(timeit.repeat(func, number=1, repeat=repeat))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--count", type=int, default=100_000)
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()

    protocol = pickle.DEFAULT_PROTOCOL
    one = len(pickle.dumps(z.Point2(1.5, -2.25), protocol))
    # What any encoding must hold: the class reference and the two floats.
    floor = len(pickle.dumps((z.Point2, (1.5, -2.25)), protocol))
    pair = len(pickle.dumps((1.5, -2.25), protocol))
    print(f"pickled size, protocol {protocol}: Point2 {one} B, (class, (x, y)) {floor} B, "
          f"(x, y) {pair} B; Point2/(class, pair) {one / floor:.2f}x")

    points = [z.Point2(i * 0.5, -i * 0.25) for i in range(args.count)]
    pairs = [(p.x, p.y) for p in points]
    size_points = len(pickle.dumps(points, protocol))
    size_pairs = len(pickle.dumps(pairs, protocol))
    print(f"{args.count} items: {size_points / args.count:.1f} B/point vs "
          f"{size_pairs / args.count:.1f} B/pair ({size_points / size_pairs:.2f}x)")

    blob_points, blob_pairs = pickle.dumps(points, protocol), pickle.dumps(pairs, protocol)
    timings = {
        "dumps": (lambda: pickle.dumps(points, protocol), lambda: pickle.dumps(pairs, protocol)),
        "loads": (lambda: pickle.loads(blob_points), lambda: pickle.loads(blob_pairs)),
    }
    print(f"\n{'':<8}{'points':>12}{'pairs':>12}{'points/pairs':>14}")
    for name, (ours, theirs) in timings.items():
        t_ours, t_theirs = best_of(ours, args.repeat), best_of(theirs, args.repeat)
        print(f"{name:<8}{t_ours * 1e3:>10.1f}ms{t_theirs * 1e3:>10.1f}ms{t_ours / t_theirs:>13.2f}x")


if __name__ == "__main__":
    main()
